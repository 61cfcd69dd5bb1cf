#include "Controls.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

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
    QPalette palette = label->palette();
    switch (control.ground) {
        case forms::Ground::TitleText:
            palette.setColor(QPalette::Window, Qt::white);
            palette.setColor(QPalette::WindowText, Qt::black);
            label->setAutoFillBackground(true);
            break;
        case forms::Ground::Window:
            label->setBackgroundRole(QPalette::Base);
            label->setAutoFillBackground(true);
            break;
        case forms::Ground::Form:
            break;
    }
    if (control.blackText) {
        palette.setColor(QPalette::WindowText, Qt::black);
    }
    label->setPalette(palette);
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
    const Qt::Alignment across = control.centred ? Qt::AlignHCenter : Qt::AlignLeft;
    label->setAlignment(across |
                        (control.sizing == forms::Sizing::Fixed ? Qt::AlignTop : Qt::AlignVCenter));
    label->setFocusPolicy(Qt::NoFocus);
    return label;
}

QWidget* makeButton(const Control& control, QWidget* parent) {
    auto* button = new QPushButton(mnemonicText(control.caption, control.accessKeys), parent);
    button->setGeometry(designRect(control.rect));
    button->setDefault(control.isDefault);
    return button;
}

}  // namespace

Controls::Controls(const forms::Form& form, QWidget* parent) : form_(form) {
    widgets_.reserve(form.controls.size());
    for (const Control& each : form.controls) {
        QWidget* made =
            each.kind == forms::Kind::Button ? makeButton(each, parent) : makeLabel(each, parent);
        made->setObjectName(QLatin1String(each.name));
        widgets_.push_back(made);
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
