#pragma once
#include <QDialog>

class QPlainTextEdit;

// The About box: version, a contact line and the usage text.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    QPlainTextEdit* usageText() const { return usage_; }

private:
    QPlainTextEdit* usage_;
};
