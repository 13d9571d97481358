#include "ui/team_editor_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <fstream>
#include <sstream>

#include "resources/strings.h"
#include "ui/ui_text.h"

namespace {

constexpr Qt::WindowFlags kDialogFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// Names and file names are UTF-8 in the model and the file system's bytes on disk.
QString utf8(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
std::string fileName(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

void warn(QWidget* parent, int textId, const QString& path, const std::string& why)
{
    QMessageBox::warning(parent, uiText(str::AppName), uiText(textId) + path + QStringLiteral(": ") + utf8(why));
}

// The eleven of one side of a players list, the first eleven ticked.
class PickDialog : public QDialog {
public:
    PickDialog(const std::vector<ListedPlayer>& players, QWidget* parent)
        : QDialog(parent, kDialogFlags), players_(players)
    {
        setWindowTitle(uiText(str::PickFromPlayersButton).remove(QLatin1Char('&')));
        auto* layout = new QVBoxLayout(this);
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(uiText(str::SideLabel), this));
        sides_ = new QComboBox(this);
        for (const std::string& side : sidesOf(players_))
            sides_->addItem(utf8(side));
        row->addWidget(sides_, 1);
        layout->addLayout(row);
        list_ = new QListWidget(this);
        layout->addWidget(list_, 1);
        buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        layout->addWidget(buttons_);
        connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(sides_, &QComboBox::currentIndexChanged, this, [this] { showSide(); });
        connect(list_, &QListWidget::itemChanged, this, [this] { countTicks(); });
        showSide();
    }

    std::string side() const { return sides_->currentText().toUtf8().toStdString(); }
    std::vector<ListedPlayer> eleven() const
    {
        std::vector<ListedPlayer> out;
        for (int i = 0; i < list_->count(); ++i)
            if (list_->item(i)->checkState() == Qt::Checked) out.push_back(players_[shown_[i]]);
        return out;
    }

private:
    void showSide()
    {
        const QSignalBlocker block(list_);
        list_->clear();
        shown_.clear();
        for (std::size_t i = 0; i < players_.size(); ++i) {
            if (players_[i].side != side()) continue;
            auto* item = new QListWidgetItem(utf8(players_[i].player.name), list_);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            item->setCheckState(shown_.size() < Team::kPlayers ? Qt::Checked : Qt::Unchecked);
            shown_.push_back(i);
        }
        countTicks();
    }
    void countTicks() { buttons_->button(QDialogButtonBox::Ok)->setEnabled(eleven().size() == Team::kPlayers); }

    const std::vector<ListedPlayer>& players_;
    std::vector<std::size_t> shown_;  // the list's rows, as indices into players_
    QComboBox* sides_;
    QListWidget* list_;
    QDialogButtonBox* buttons_;
};

// A rating cell: what is typed replaces the value, however the cell was reached.
class RatingBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QSpinBox::focusInEvent(event);
        // After the click that gave the focus has placed the cursor.
        QTimer::singleShot(0, this, [this] { selectAll(); });
    }
};

}  // namespace

TeamEditorDialog::TeamEditorDialog(TeamEditorModel model, QString savePath, QWidget* parent)
    : QDialog(parent, kDialogFlags), model_(std::move(model)), savePath_(std::move(savePath))
{
    setWindowTitle(uiText(str::TeamEditorCaption));
    auto* layout = new QVBoxLayout(this);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(uiText(str::TeamNameLabel), this));
    name_ = new QLineEdit(this);
    top->addWidget(name_, 1);
    auto* pick = new QPushButton(uiText(str::PickFromPlayersButton), this);
    top->addWidget(pick);
    layout->addLayout(top);

    table_ = new QTableWidget(Team::kPlayers, 1 + EditorPlayer::kRatings, this);
    table_->setHorizontalHeaderItem(0, new QTableWidgetItem(tr("Name")));
    for (int r = 0; r < EditorPlayer::kRatings; ++r) {
        auto* header = new QTableWidgetItem(QString::fromLatin1(EditorPlayer::ratingHeading(r)));
        header->setToolTip(uiText(str::BatTempoTip + r));
        table_->setHorizontalHeaderItem(1 + r, header);
    }
    for (int row = 0; row < Team::kPlayers; ++row) {
        const QString player = uiText(str::PlayerLabel) + QString::number(row + 1);
        auto* nameItem = new QTableWidgetItem;
        nameItem->setData(Qt::AccessibleTextRole, tr("Name, %1").arg(player));
        table_->setItem(row, 0, nameItem);
        for (int r = 0; r < EditorPlayer::kRatings; ++r) {
            QWidget* cell = nullptr;
            if (r == EditorPlayer::kIsKeeper || r == EditorPlayer::kIsBowler) {
                auto* check = new QCheckBox(table_);
                connect(check, &QCheckBox::toggled, this, [this, row, r](bool on) {
                    model_.players[row].ratings[r] = on ? 1 : 0;
                    showProblems();
                });
                cell = check;
            } else if (r == EditorPlayer::kBowlStyle) {
                auto* style = new QComboBox(table_);
                for (int id : {str::PaceStyle, str::SpinStyle, str::NeutralStyle})
                    style->addItem(uiText(id));
                connect(style, &QComboBox::activated, this, [this, row, r](int index) {
                    model_.players[row].ratings[r] = index;
                    showProblems();
                });
                cell = style;
            } else {
                auto* spin = new RatingBox(table_);
                spin->setRange(0, 1000);
                spin->setSingleStep(10);
                connect(spin, &QSpinBox::valueChanged, this, [this, row, r](int value) {
                    model_.players[row].ratings[r] = value;
                    showProblems();
                });
                cell = spin;
            }
            cell->setToolTip(uiText(str::BatTempoTip + r));
            cell->setAccessibleDescription(cell->toolTip());
            cell->setAccessibleName(QString::fromLatin1(EditorPlayer::ratingHeading(r)) + QStringLiteral(", ") +
                                    player);
            table_->setCellWidget(row, 1 + r, cell);
        }
    }
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    // A name may be 15 characters long; it shows whole.
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    table_->setColumnWidth(0, table_->fontMetrics().horizontalAdvance(QString(15, QLatin1Char('M'))) +
                                  2 * table_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8);
    layout->addWidget(table_, 1);

    problems_ = new QLabel(this);
    problems_->setWordWrap(true);
    layout->addWidget(problems_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    save_ = buttons->button(QDialogButtonBox::Save);
    layout->addWidget(buttons);

    connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
        model_.name = text.toUtf8().toStdString();
        showProblems();
    });
    connect(table_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() != 0) return;
        model_.players[item->row()].name = item->text().toUtf8().toStdString();
        showProblems();
    });
    connect(pick, &QPushButton::clicked, this, [this] { pickFromPlayers(); });
    connect(save_, &QPushButton::clicked, this, [this] { saveSide(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    showModel();
    opened_ = model_.fileText();
    // The whole eleven in view, without scrolling.
    table_->setMinimumHeight(table_->horizontalHeader()->sizeHint().height() + table_->verticalHeader()->length() +
                             2 * table_->frameWidth());
    resize(table_->verticalHeader()->sizeHint().width() + table_->horizontalHeader()->length() + 60,
           sizeHint().height());
}

void TeamEditorDialog::reject()
{
    // Cancel, Escape and the close box: edits are thrown away only when the user says so.
    if (model_.fileText() != opened_ &&
        QMessageBox::question(this, uiText(str::TeamEditorCaption), tr("Throw away the changes to this side?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    QDialog::reject();
}

void TeamEditorDialog::showModel()
{
    const QSignalBlocker blockName(name_), blockTable(table_);
    name_->setText(utf8(model_.name));
    for (int row = 0; row < Team::kPlayers; ++row) {
        const EditorPlayer& p = model_.players[row];
        table_->item(row, 0)->setText(utf8(p.name));
        for (int r = 0; r < EditorPlayer::kRatings; ++r) {
            QWidget* cell = table_->cellWidget(row, 1 + r);
            const QSignalBlocker block(cell);
            const int value = p.ratings[r];
            if (auto* check = qobject_cast<QCheckBox*>(cell)) {
                check->setChecked(value != 0);
            } else if (auto* style = qobject_cast<QComboBox*>(cell)) {
                // A style outside 0..2 plays as pace; it is kept until changed.
                while (style->count() > 3)
                    style->removeItem(3);
                if (value < 0 || value > 2) style->addItem(uiText(str::PaceStyle) + QStringLiteral(" (%1)").arg(value));
                style->setCurrentIndex(value < 0 || value > 2 ? 3 : value);
            } else if (auto* spin = qobject_cast<QSpinBox*>(cell)) {
                // A file may hold any number: the range widens rather than change it.
                spin->setRange(std::min(0, value), std::max(1000, value));
                spin->setValue(value);
            }
        }
    }
    showProblems();
}

void TeamEditorDialog::showProblems()
{
    const std::vector<EditorProblem> problems = model_.problems();
    QStringList lines;
    for (const EditorProblem& p : problems)
        lines << utf8(p.text);
    problems_->setText(lines.isEmpty() ? uiText(str::SideReady) : lines.join(QLatin1Char('\n')));
    save_->setEnabled(model_.canSave());
    // A keeper's bowling is not his: it is not saved, so it cannot be edited.
    for (int row = 0; row < Team::kPlayers; ++row)
        for (int r = EditorPlayer::kIsBowler; r < EditorPlayer::kRatings; ++r)
            table_->cellWidget(row, 1 + r)->setEnabled(!model_.players[row].keeps());
}

void TeamEditorDialog::pickFromPlayers()
{
    const QString path = QFileDialog::getOpenFileName(this, uiText(str::PickFromPlayersButton).remove(QLatin1Char('&')),
                                                      QString(), uiText(str::PlayersFilePattern));
    if (path.isEmpty()) return;
    std::ifstream in(fileName(path), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::vector<ListedPlayer> players;
    std::string why;
    if (!in) why = "cannot be read";
    if (!why.empty() || !readPlayersCsv(text.str(), players, why)) {
        warn(this, str::CannotReadPlayers, path, why);
        return;
    }
    PickDialog dialog(players, this);
    if (dialog.exec() != QDialog::Accepted) return;
    model_.pick(dialog.side(), dialog.eleven());
    showModel();
}

void TeamEditorDialog::saveSide()
{
    QFileDialog dialog(this, uiText(str::TeamEditorCaption), savePath_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(uiText(str::TeamFilePattern));
    dialog.setDefaultSuffix(QStringLiteral("xi"));
    if (savePath_.isEmpty()) dialog.selectFile(utf8(model_.name) + QStringLiteral(".xi"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().constFirst();
    std::string why;
    if (!model_.save(fileName(path), why)) {
        warn(this, str::CannotSaveTeam, path, why);
        return;
    }
    savePath_ = path;
    accept();
}

void TeamEditorDialog::newTeam(QWidget* parent)
{
    TeamEditorDialog dialog(TeamEditorModel::newSide(), QString(), parent);
    dialog.exec();
}

void TeamEditorDialog::editTeam(QWidget* parent)
{
    const QString path =
        QFileDialog::getOpenFileName(parent, uiText(str::TeamEditorCaption), QString(), uiText(str::TeamFilePattern));
    if (path.isEmpty()) return;
    // A side the loader refuses opens all the same, so it can be put right;
    // only a file that cannot be read stops here.
    Team team;
    LoadDiagnosis why;
    if (!team.load(fileName(path).c_str(), &why) && why.reason.rfind("cannot ", 0) == 0) {
        warn(parent, str::FailureLoadingTeam, path, why.reason);
        return;
    }
    TeamEditorModel model;
    model.setTeam(team);
    TeamEditorDialog dialog(std::move(model), path, parent);
    dialog.exec();
}
