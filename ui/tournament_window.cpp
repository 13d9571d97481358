#include "ui/tournament_window.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <chrono>
#include <ctime>

namespace {
struct Cancelled {};
}  // namespace

TournamentWindow::TournamentWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(tr("Tournament"));
    auto* layout = new QVBoxLayout(this);
    title_ = new QLabel(this);
    fullSpeed_ = new QCheckBox(tr("Full speed"), this);
    fullSpeed_->setToolTip(tr("Otherwise a second between matches, to follow the table"));
    view_ = new QPlainTextEdit(this);
    view_->setReadOnly(true);
    view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    view_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(title_);
    layout->addWidget(fullSpeed_);
    layout->addWidget(view_);
    connect(fullSpeed_, &QCheckBox::toggled, this, [this](bool on) { slow_ = !on; });
    resize(900, 600);
}

TournamentWindow::~TournamentWindow()
{
    stop();
}

void TournamentWindow::stop()
{
    cancel_ = true;
    if (worker_.joinable()) worker_.join();
    cancel_ = false;
}

bool TournamentWindow::openAndPlay()
{
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Open Tournament"), QString(), tr("Tournaments (*.json)"));
    return !path.isEmpty() && play(path);
}

bool TournamentWindow::play(const QString& path)
{
    stop();
    std::string error;
    TournamentPlan plan;
    if (!loadTournament(path.toStdString(), plan, error)) {
        QMessageBox::warning(this, tr("Tournament"), QString::fromStdString(error));
        return false;
    }
    plan_ = plan;
    results_.clear();
    finished_ = false;
    text_.clear();
    view_->clear();
    title_->setText(QString::fromStdString(plan_.name + ": " + plan_.describe()));
    show();
    raise();

    std::int32_t seed = static_cast<std::int32_t>(static_cast<std::uint32_t>(std::time(nullptr)) & 0x3fffffff);
    if (seed == 0) seed = 1;
    worker_ = std::thread([this, plan, seed] {
        try {
            auto hook = [&](Match&, const MatchOutcome& o, const std::string& label) {
                QMetaObject::invokeMethod(
                    this, [this, o, l = QString::fromStdString(label)] { matchPlayed(o, l); }, Qt::QueuedConnection);
                for (int i = 0; i < 10 && slow_; ++i) {
                    if (cancel_) throw Cancelled{};
                    std::this_thread::sleep_for(std::chrono::milliseconds(100));
                }
                if (cancel_) throw Cancelled{};
            };
            const TournamentRun run = playTournament(plan, seed, hook);
            const QString text = QString::fromStdString(formatTournamentRun(plan, run, seed));
            QMetaObject::invokeMethod(
                this, [this, text] { tournamentFinished(text); }, Qt::QueuedConnection);
        } catch (const Cancelled&) {
        }
    });
    return true;
}

void TournamentWindow::matchPlayed(const MatchOutcome& o, const QString& label)
{
    if (finished_) return;
    // The table counts the group stage only; knock-outs are listed beneath it.
    const bool knockout = !label.startsWith(QStringLiteral("Group")) && label != QStringLiteral("Round robin");
    if (!knockout) results_.push_back(o);
    std::string text;
    for (int g = 0; g < plan_.groups; ++g) {
        text +=
            plan_.groups > 1 ? "Group " + std::string(1, static_cast<char>('A' + g)) + "\n" : std::string("Table\n");
        for (const TableRow& r : groupTable(plan_, g, results_, 0))
            text += std::string(plan_.sides[static_cast<std::size_t>(r.side)].name()) + "  P " +
                    std::to_string(r.played) + "  W " + std::to_string(r.won) + "  Pts " + std::to_string(r.points) +
                    "\n";
        text += "\n";
    }
    text_ += label + ": " + QString::fromStdString(plan_.sides[static_cast<std::size_t>(o.home)].name()) + " " +
             QString::fromStdString(o.score[0]) + " v " +
             QString::fromStdString(plan_.sides[static_cast<std::size_t>(o.away)].name()) + " " +
             QString::fromStdString(o.score[1]) + "  " + QString::fromStdString(o.resultLine) + "\n";
    view_->setPlainText(QString::fromStdString(text) + text_);
}

void TournamentWindow::tournamentFinished(const QString& text)
{
    finished_ = true;
    text_ = text;
    view_->setPlainText(text);
}
