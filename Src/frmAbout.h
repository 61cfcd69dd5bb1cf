#pragma once

#include <QDialog>

// The About window: the program's title and version, and a way to the system's own information
// tool.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    // Loads the window afresh and shows it modally; returns once it has been closed.
    void showModal();
};
