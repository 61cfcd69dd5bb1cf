#include "AppStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleOption>

#include "forms/Definitions.h"

namespace vostrel {
namespace {

// Stands in for one of the style's icons and asks the style for it when it is first needed.
class DeferredIconEngine final : public QIconEngine {
public:
    DeferredIconEngine(QStyle* style, QStyle::StandardPixmap which)
        : style_(style), which_(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    [[nodiscard]] QIconEngine* clone() const override { return new DeferredIconEngine(*this); }
    [[nodiscard]] QString key() const override { return QStringLiteral("VostrelDeferredIcon"); }

private:
    const QIcon& icon() {
        if (!loaded_) {
            loaded_ = true;
            if (style_ != nullptr) {
                icon_ = style_->standardIcon(which_);
            }
        }
        return icon_;
    }

    QPointer<QStyle> style_;  // an icon may outlive the style it came from
    QStyle::StandardPixmap which_;
    bool loaded_ = false;
    QIcon icon_;
};

class AppStyle final : public QProxyStyle {
public:
    explicit AppStyle(QStyle* base) : QProxyStyle(base) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        // The style draws a button's focus only once the window has been used from the keyboard;
        // the game's windows show it at all times.
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (forms::kCuesAlwaysShown && element == CE_PushButton && button != nullptr &&
            (button->state & State_HasFocus)) {
            QStyleOptionButton shown = *button;
            shown.state |= State_KeyboardFocusChange;
            QProxyStyle::drawControl(element, &shown, painter, widget);
            return;
        }
        // A menu the keyboard has chosen is marked as one the pointer holds down, open or not.
        const auto* menu = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element == CE_MenuBarItem && menu != nullptr && (menu->state & State_Selected)) {
            QStyleOptionMenuItem chosen = *menu;
            chosen.state |= State_Sunken;
            QProxyStyle::drawControl(element, &chosen, painter, widget);
            return;
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        // Only the overflow icons, which are made with every bar and seldom shown. An option
        // describes one particular drawing, so an icon asked for with one is made at once; the
        // bars pass only themselves, which no style draws these icons differently for.
        const bool overflow = which == SP_ToolBarHorizontalExtensionButton ||
                              which == SP_ToolBarVerticalExtensionButton;
        if (overflow && option == nullptr) {
            return QIcon(new DeferredIconEngine(baseStyle(), which));
        }
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

}  // namespace

void installAppStyle() {
    // The layer takes over the chosen style; QApplication then owns the layer.
    QApplication::setStyle(new AppStyle(QApplication::style()));
}

}  // namespace vostrel
