#pragma once
#include <QDialog>

// The About box: the program's name and version, its licence and a line of
// credit. The command-line usage is Help > Usage's.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
