#include "Controls.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>
#include <map>

#include "Fonts.h"
#include "QtText.h"
#include "forms/Keyboard.h"
#include "icons/vostrel32.xpm"

namespace vostrel {

using forms::Control;

namespace {

// A label or picture area with the design's frame. Each line of the frame is a filled
// rectangle one device-independent pixel wide, which covers whole screen pixels at any scale:
// QFrame's own lines fall between them at fractional scale factors and vanish.
class FramedLabel final : public QLabel {
public:
    FramedLabel(forms::Border border, QWidget* parent) : QLabel(parent), border_(border) {
        const int width = forms::borderPixels(border);
        setContentsMargins(width, width, width, width);
    }

    [[nodiscard]] int frame() const { return forms::borderPixels(border_); }

protected:
    void paintEvent(QPaintEvent* event) override {
        QLabel::paintEvent(event);
        QPainter painter(this);
        if (hasFocus()) {
            // A picture has no text to underline: the focus is a line of the highlight colour
            // inside its frame, clear on any picture.
            painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
            painter.drawRect(QRectF(contentsRect()).adjusted(1, 1, -1, -1));
        }
        const qreal w = width();
        const qreal h = height();
        if (border_ == forms::Border::Flat) {
            const QColor line = palette().color(QPalette::WindowText);
            painter.fillRect(QRectF(0, 0, w, 1), line);
            painter.fillRect(QRectF(0, h - 1, w, 1), line);
            painter.fillRect(QRectF(0, 0, 1, h), line);
            painter.fillRect(QRectF(w - 1, 0, 1, h), line);
        } else if (border_ == forms::Border::Sunken) {
            // Shadow above and to the left, light below and to the right, meeting diagonally.
            for (int i = 0; i < 2; ++i) {
                painter.fillRect(QRectF(0, i, w - 1 - i, 1), palette().dark());
                painter.fillRect(QRectF(i, 0, 1, h - 1 - i), palette().dark());
            }
            for (int i = 0; i < 2; ++i) {
                painter.fillRect(QRectF(i, h - 1 - i, w - i, 1), palette().light());
                painter.fillRect(QRectF(w - 1 - i, i, 1, h - i), palette().light());
            }
        }
    }

private:
    forms::Border border_;
};

QRect designRect(const forms::TwipsRect& rect) {
    const forms::Rect px = forms::pixelRect(rect, forms::kDesignDpi);
    return {px.left, px.top, px.width, px.height};
}

void paint(QLabel* label, const Control& control) {
    if (control.ground == forms::Ground::Window) {
        label->setBackgroundRole(QPalette::Base);
        label->setForegroundRole(QPalette::Text);
        label->setAutoFillBackground(true);
    }
    if (control.blackText) {
        QPalette palette = label->palette();
        palette.setColor(label->foregroundRole(), Qt::black);
        label->setPalette(palette);
    }
}

QWidget* makeLabel(const Control& control, QWidget* parent) {
    auto* label = new FramedLabel(control.border, parent);
    paint(label, control);
    label->setGeometry(designRect(control.rect));
    if (control.kind == forms::Kind::Picture) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFocusPolicy(Qt::StrongFocus);
        if (control.image == forms::Image::ProgramIcon) {
            const QPixmap icon(vostrel32_xpm);
            label->setPixmap(icon);
            const int frame = 2 * label->frame();
            label->resize(icon.width() + frame, icon.height() + frame);
        }
        return label;
    }
    label->setTextFormat(Qt::PlainText);
    label->setText(toQString(control.caption));
    if (control.font != nullptr) {
        label->setFont(qtFont(*control.font));
    }
    label->setAlignment(
        (control.centred ? Qt::AlignHCenter : Qt::AlignLeft) |
        (control.vertical == forms::Vertical::Middle ? Qt::AlignVCenter : Qt::AlignTop));
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

QWidget* makeButton(const Control& control, QWidget* parent) {
    auto* button = new QPushButton(mnemonicText(control.caption, control.accessKeys), parent);
    // The access key stays marked, but the window's procedures press its button.
    button->setShortcut(QKeySequence());
    button->setGeometry(designRect(control.rect));
    button->setDefault(control.isDefault);
    return button;
}

}  // namespace

Controls::Controls(const forms::Form& form, QWidget* parent)
    : form_(form), widgets_(form.controls.size()) {
    // Made from the lowest up: a widget made later lies above one made before.
    for (const Control* each : forms::stackingOrder(form)) {
        QWidget* made = each->kind == forms::Kind::Button ? makeButton(*each, parent)
                                                          : makeLabel(*each, parent);
        made->setObjectName(QLatin1String(each->name));
        widgets_[static_cast<std::size_t>(each - form.controls.data())] = made;
    }
}

QWidget* Controls::widget(forms::Id id, int index) const {
    for (std::size_t i = 0; i < widgets_.size(); ++i) {
        if (form_.controls[i].id == id && form_.controls[i].index == index) {
            return widgets_[i];
        }
    }
    return nullptr;
}

std::optional<forms::ControlRef> Controls::control(const QWidget* widget) const {
    const auto found = std::find(widgets_.begin(), widgets_.end(), widget);
    if (widget == nullptr || found == widgets_.end()) {
        return std::nullopt;
    }
    return form_.controls[static_cast<std::size_t>(found - widgets_.begin())].ref();
}

QString mnemonicText(std::string_view caption, bool accessKeys) {
    return toQString(forms::markedCaption(forms::accessText(caption, accessKeys)));
}

forms::TextSize measureText(const QWidget* control, const QString& text) {
    const QFontMetrics metrics(control->font());
    return {metrics.horizontalAdvance(text), metrics.height()};
}

int frameWidth(const QWidget* control) {
    const auto* label = dynamic_cast<const FramedLabel*>(control);
    return label != nullptr ? label->frame() : 0;
}

void setBounds(QWidget* control, const forms::Rect& bounds) {
    control->setGeometry(bounds.left, bounds.top, bounds.width, bounds.height);
}

}  // namespace vostrel

namespace vostrel::qt {

forms::KeyPress keyPress(const QKeyEvent& event) {
    using forms::Key;
    forms::KeyPress press;
    const Qt::KeyboardModifiers held = event.modifiers();
    press.shift = held.testFlag(Qt::ShiftModifier);
    press.control = held.testFlag(Qt::ControlModifier) || held.testFlag(Qt::MetaModifier);
    press.alt = held.testFlag(Qt::AltModifier);
    press.repeat = event.isAutoRepeat();
    const int key = event.key();
    static const std::map<int, Key> named{
        {Qt::Key_Tab, Key::Tab},     {Qt::Key_Backtab, Key::Tab},   {Qt::Key_Return, Key::Enter},
        {Qt::Key_Enter, Key::Enter}, {Qt::Key_Escape, Key::Escape}, {Qt::Key_Space, Key::Space},
        {Qt::Key_Left, Key::Left},   {Qt::Key_Right, Key::Right},   {Qt::Key_Up, Key::Up},
        {Qt::Key_Down, Key::Down},   {Qt::Key_F10, Key::F10}};
    if (const auto found = named.find(key); found != named.end()) {
        press.key = found->second;
        press.shift = press.shift || key == Qt::Key_Backtab;
    } else if (key >= Qt::Key_F1 && key <= Qt::Key_F12) {
        press.key = Key::Function;
    } else if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        // By the key, not its text, which Alt and Ctrl may leave empty.
        press.key = Key::Character;
        press.character = static_cast<char32_t>(U'a' + (key - Qt::Key_A));
    } else if (!event.text().isEmpty() && event.text().front().isPrint()) {
        press.key = Key::Character;
        press.character = event.text().toUcs4().value(0);
    }
    return press;
}

}  // namespace vostrel::qt
