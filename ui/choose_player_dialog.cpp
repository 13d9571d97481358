#include "ui/choose_player_dialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/choose_player_model.h"
#include "resources/strings.h"
#include "ui/dialog_units.h"
#include "ui/ui_text.h"

ChoosePlayerDialog::ChoosePlayerDialog(ChoosePlayerModel& model, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), model_(model)
{
    applyDialogLook(*this);
    const DialogUnits du(font());

    figureLine_ = new QLabel(this);
    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setAllColumnsShowFocus(true);
    bowlingFigures_ = new QLabel(this);

    ok_ = new QPushButton(uiText(str::OkButton), this);
    ok_->setDefault(true);
    declare_ = new QPushButton(uiText(str::DeclareButton), this);
    options_ = new QPushButton(uiText(str::OptionsButton), this);

    auto* middle = new QHBoxLayout;
    middle->addWidget(list_, 1);
    middle->addWidget(bowlingFigures_, 0, Qt::AlignTop);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {ok_, declare_, options_}) {
        b->setMinimumWidth(du.x(34));
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(figureLine_);
    layout->addLayout(middle, 1);
    layout->addLayout(buttons);

    declare_->setEnabled(model_.allowDeclare != 0);
    model_.fillRows();
    setWindowTitle(utf8(model_.caption()));
    QStringList headings;
    for (const std::string& h : model_.headings())
        headings << utf8(h);
    list_->setHeaderLabels(headings);
    list_->setAccessibleName(windowTitle());
    // The ratings' headings explain themselves as the team editor's do.
    const int firstTip = model_.chooseBatsman ? str::BatTempoTip : str::BowlTempoTip;
    for (int rating = 0; rating < 3; ++rating)
        list_->headerItem()->setToolTip(2 + rating, uiText(firstTip + rating));
    for (int row = 0; row < model_.rowCount(); ++row) {
        QStringList cells;
        for (const std::string& c : model_.cells(row))
            cells << utf8(c);
        auto* item = new QTreeWidgetItem(list_, cells);
        for (int column = 2; column < cells.size(); ++column)
            item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
    for (int column = 0; column < headings.size(); ++column)
        list_->resizeColumnToContents(column);
    // Every column and up to eleven rows in view; the window may be made larger.
    const int rows = std::max(1, std::min(model_.rowCount(), 11));
    list_->setMinimumSize(
        list_->header()->length() + 2 * list_->frameWidth() + list_->verticalScrollBar()->sizeHint().width(),
        list_->header()->sizeHint().height() + rows * std::max(list_->sizeHintForRow(0), du.y(1)) +
            2 * list_->frameWidth());
    // The labels fit what any row will put in them.
    int figureLine = 0, bowling = 0;
    for (int row = 0; row < model_.rowCount(); ++row) {
        figureLine = std::max(figureLine, fontMetrics().horizontalAdvance(utf8(model_.figureLine(row))));
        bowling = std::max(bowling, fontMetrics().horizontalAdvance(utf8(model_.bowlingFigures(row))));
    }
    figureLine_->setMinimumWidth(figureLine);
    bowlingFigures_->setMinimumWidth(bowling);
    if (model_.selectedRow() >= 0) list_->setCurrentItem(list_->topLevelItem(model_.selectedRow()));
    showFigures();
    // The caption too, with room for the title bar's close box.
    layout->activate();
    setMinimumWidth(std::max(layout->minimumSize().width(), fontMetrics().horizontalAdvance(windowTitle()) + du.x(60)));
    list_->setFocus();

    // The selected row is the answer, however it came to be selected: the
    // mouse, the keys, or a screen reader's selection.
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { takeSelection(); });
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(declare_, &QPushButton::clicked, this, [this] {
        takeSelection();
        model_.declare();
        accept();
    });
    connect(options_, &QPushButton::clicked, this, [this] {
        model_.openOptions();
        // Back to the choice, where the keys left it.
        activateWindow();
        list_->setFocus();
    });
}

void ChoosePlayerDialog::placeTopRightAt(const QPoint& corner)
{
    const QPoint topLeft(corner.x() - frameGeometry().width(), corner.y());
    if (topLeft.x() < 0 && topLeft.y() < 0) return;
    move(topLeft);
}

void ChoosePlayerDialog::takeSelection()
{
    const QModelIndexList selected = list_->selectionModel()->selectedRows();
    // With nothing selected the row selected last stays the answer.
    if (selected.isEmpty()) return;
    model_.select(selected.constFirst().row());
    showFigures();
}

void ChoosePlayerDialog::showFigures()
{
    const int row = model_.selectedRow();
    if (row < 0) return;
    figureLine_->setText(utf8(model_.figureLine(row)));
    bowlingFigures_->setText(utf8(model_.bowlingFigures(row)));
}

void ChoosePlayerDialog::done(int result)
{
    takeSelection();
    model_.acceptSelection();
    QDialog::done(result);
}
