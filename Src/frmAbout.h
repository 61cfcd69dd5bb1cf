#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About window: the program's title and version, and a way to the system's own information
// tool.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* parent = nullptr);

    // Loads the window afresh and shows it modally; returns once it has been closed.
    void showModal();

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void StartSysInfo();

    QPushButton* cmdOK = nullptr;
    QLabel* picIcon = nullptr;
    QPushButton* cmdSysInfo = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
};
