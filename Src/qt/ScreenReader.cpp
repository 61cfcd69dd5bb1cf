#include "ScreenReader.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QWidget>

namespace vostrel {
namespace {

// Words for a screen reader alone: an object with a role and a name, but no widget and nothing
// drawn. Qt's AT-SPI bridge (6.4) passes a changed name or description on without the new text,
// which Orca (43) then cannot speak, and drops alerts; a notification that is shown Orca speaks
// whatever holds the focus, and inside a status bar without the word "notification".
class Unseen : public QObject {
public:
    Unseen(QObject* parent, QAccessible::Role role, const char* name)
        : QObject(parent), role(role) {
        setObjectName(QLatin1String(name));
    }
    const QAccessible::Role role;
    QString text;
};

class UnseenFace : public QAccessibleObject {
public:
    explicit UnseenFace(Unseen* unseen) : QAccessibleObject(unseen), unseen_(unseen) {}

    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<Unseen*> all = children();
        return index >= 0 && index < all.size() ? QAccessible::queryAccessibleInterface(all[index])
                                                : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return static_cast<int>(children().indexOf(child->object()));
    }
    QString text(QAccessible::Text which) const override {
        return which == QAccessible::Name ? unseen_->text : QString();
    }
    QAccessible::Role role() const override { return unseen_->role; }
    // Showing, as its show event says, though it has no place on the screen.
    QAccessible::State state() const override { return {}; }

private:
    QList<Unseen*> children() const {
        return unseen_->findChildren<Unseen*>(Qt::FindDirectChildrenOnly);
    }

    Unseen* const unseen_;  // Qt drops the face when its object goes
};

QAccessibleInterface* unseenFace(const QString& /*className*/, QObject* object) {
    auto* unseen = dynamic_cast<Unseen*>(object);
    return unseen != nullptr ? new UnseenFace(unseen) : nullptr;
}

constexpr const char* kAnnouncement = "vostrelAnnouncement";

}  // namespace

void setSpokenName(QWidget* control, const QString& name) {
    control->setAccessibleName(name);
}

void alertScreenReader(QWidget* control) {
    QAccessibleEvent alert(control, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
}

void announce(QWidget* window, const QString& text) {
    auto* note = window->findChild<Unseen*>(QLatin1String(kAnnouncement));
    if (note == nullptr) {
        [[maybe_unused]] static const bool known = [] {
            QAccessible::installFactory(unseenFace);
            return true;
        }();
        auto* bar = new Unseen(window, QAccessible::StatusBar, "vostrelAnnouncements");
        note = new Unseen(bar, QAccessible::Notification, kAnnouncement);
    }
    note->text = text;
    QAccessibleEvent shown(note, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

}  // namespace vostrel
