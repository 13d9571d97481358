#include "ui/tournament_window.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "app/match_controller.h"

TournamentWindow::TournamentWindow(MatchController& control, QWidget* parent)
    : QWidget(parent, Qt::Window), control_(control)
{
    setWindowTitle(tr("Tournament"));
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(this);
    title_->setWordWrap(true);
    fullSpeed_ = new QCheckBox(tr("Full speed"), this);
    fullSpeed_->setToolTip(tr("Play each match through at once, with no pause between matches"));
    view_ = new QPlainTextEdit(this);
    view_->setReadOnly(true);
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Lines wider than the window wrap: the results never need scrolling across.
    view_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(title_);
    layout->addWidget(fullSpeed_);
    layout->addWidget(view_);
    connect(fullSpeed_, &QCheckBox::toggled, this, [this](bool on) { control_.setTournamentFullSpeed(on); });
    // Within the screen's free area, whatever the screen.
    const QRect free = screen()->availableGeometry();
    resize(QSize(900, 600).boundedTo(free.size() * 9 / 10));
    move(free.center() - rect().center());
}

void TournamentWindow::fitWidestLine()
{
    const QRect free = screen()->availableGeometry();
    int widest = 0;
    const QFontMetrics metrics(view_->font());
    for (const QString& line : view_->toPlainText().split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    // The text's own margins, the frame and the scroll bar beside it.
    const int chrome = width() - view_->viewport()->width() + 2 * int(view_->document()->documentMargin()) + 4;
    const int wanted = std::min(widest + chrome, free.width() * 9 / 10);
    if (wanted <= width()) return;
    resize(wanted, height());
    if (!free.contains(frameGeometry())) move(free.center() - rect().center());
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
    fitWidestLine();
}

QString TournamentWindow::text() const
{
    return view_->toPlainText();
}
