#include "ui/tournament_window.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/match_controller.h"

TournamentWindow::TournamentWindow(MatchController& control, QWidget* parent)
    : QWidget(parent, Qt::Window), control_(control)
{
    setWindowTitle(tr("Tournament"));
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(this);
    fullSpeed_ = new QCheckBox(tr("Full speed"), this);
    fullSpeed_->setToolTip(tr("Play each match through at once, with no pause between matches"));
    view_ = new QPlainTextEdit(this);
    view_->setReadOnly(true);
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(title_);
    layout->addWidget(fullSpeed_);
    layout->addWidget(view_);
    connect(fullSpeed_, &QCheckBox::toggled, this, [this](bool on) { control_.setTournamentFullSpeed(on); });
    resize(900, 600);
}

void TournamentWindow::refresh()
{
    const TournamentProgress* progress = control_.tournament();
    if (!progress) return;
    const TournamentPlan& plan = progress->plan();
    title_->setText(QString::fromStdString(plan.name + ": " + plan.describe()));
    // Keep the reader's place unless he was following the end.
    QScrollBar* bar = view_->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    const int at = bar->value();
    view_->setPlainText(QString::fromStdString(formatTournamentProgress(*progress)));
    bar->setValue(atEnd ? bar->maximum() : at);
}

QString TournamentWindow::text() const
{
    return view_->toPlainText();
}
