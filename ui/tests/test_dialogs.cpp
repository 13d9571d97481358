#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <vector>

#include "app/choose_player_model.h"
#include "app/options_model.h"
#include "ui/about_dialog.h"
#include "ui/choose_player_dialog.h"
#include "ui/options_dialog.h"
#include "ui/team_editor_dialog.h"
#include "ui/tests/ui_test_support.h"
#include "ui/tournament_window.h"

namespace {

// The names column of the choice list.
QStringList rows(const QTreeWidget& list)
{
    QStringList out;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        out << list.topLevelItem(i)->text(1);
    return out;
}

std::string describe(const QWidget* w)
{
    return std::string(w->metaObject()->className()) + " \"" +
           (w->accessibleName().isEmpty() ? w->objectName() : w->accessibleName()).toStdString() + "\"";
}

// Everything readable: each visible widget inside the window, no two visible
// sibling controls on top of each other, and the words of every label,
// button and frame within its width.
void expectReadable(QWidget& window)
{
    window.show();
    QApplication::processEvents();
    const std::string name = window.metaObject()->className();
    const QList<QWidget*> all = window.findChildren<QWidget*>();
    for (QWidget* w : all) {
        if (!w->isVisibleTo(&window) || w->isWindow()) continue;
        const QRect inWindow(w->mapTo(&window, QPoint(0, 0)), w->size());
        EXPECT_TRUE(window.rect().contains(inWindow)) << name << ": " << describe(w) << " sticks out";
        if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap()) {
            for (const QString& line : label->text().split(QLatin1Char('\n')))
                EXPECT_LE(label->fontMetrics().horizontalAdvance(line), label->contentsRect().width())
                    << name << ": " << describe(w) << " cuts \"" << line.toStdString() << "\"";
        } else if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QGroupBox*>(w)) {
            EXPECT_LE(w->minimumSizeHint().width(), w->width()) << name << ": " << describe(w) << " cuts its words";
        }
    }
    // No two controls side by side on top of each other; a frame holds its controls.
    for (QWidget* parent : QList<QWidget*>{&window} + all) {
        QList<QWidget*> siblings;
        for (QWidget* c : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (c->isVisibleTo(&window) && !c->isWindow()) siblings << c;
        for (int i = 0; i < siblings.size(); ++i)
            for (int j = i + 1; j < siblings.size(); ++j)
                EXPECT_FALSE(siblings[i]->geometry().intersects(siblings[j]->geometry()))
                    << name << ": " << describe(siblings[i]) << " overlaps " << describe(siblings[j]);
    }
}

}  // namespace

TEST(ChoosePlayerDialog, FirstBallAsksForTwoBatsmenAndABowlerAndOffersDeclareOnlyInATest)
{
    for (const bool test : {false, true}) {
        Window w(presetTeams() + (test ? " /t" : "") + " /s=" + scratchPath("first-ball.txt"));
        w.frame->start();
        w.frame->action(cmd::PlayGame)->trigger();
        std::vector<std::pair<QString, QStringList>> asked;
        std::vector<bool> declareOffered;
        ModalAnswerer answerer([&](QWidget* widget) {
            auto* dialog = qobject_cast<ChoosePlayerDialog*>(widget);
            if (!dialog) return;
            asked.emplace_back(dialog->windowTitle(), rows(*dialog->list()));
            declareOffered.push_back(dialog->declareButton()->isEnabled());
            (test && asked.size() == 3 ? dialog->declareButton() : dialog->okButton())->click();
        });
        w.frame->control().tick(MatchController::kMainTimer);
        const Match& match = w.frame->control().match();
        QStringList batsmen, bowlers;
        for (int p = 0; p < 11; ++p)
            batsmen << match.teams[0].player(p)->name();
        for (int b = 0; b < match.teams[1].bowlerCount(); ++b)
            bowlers << match.teams[1].player(match.teams[1].bowlerAt(b))->name();
        const std::vector<std::pair<QString, QStringList>> expected = {
            {"Choose Batsman", batsmen}, {"Choose Batsman", batsmen.mid(1)}, {"Choose Bowler", bowlers}};
        EXPECT_EQ(asked, expected) << (test ? "Test match" : "one-day match");
        EXPECT_EQ(declareOffered, std::vector<bool>(3, test)) << "Declare only in a Test match";
        EXPECT_EQ(match.innings[0].closed, test ? 1 : 0) << "Declare declares";
    }
}

TEST(OptionsDialog, SlidersRunFromZeroToHundredWithFastAtTheTopAndOkWritesThemBack)
{
    GameOptions options;
    OptionsModel model;
    model.load(options);
    OptionsDialog dialog(model);
    QSlider* sliders[] = {dialog.pitchSurfaceSlider(), dialog.pitchPaceSlider(), dialog.outfieldSlider(),
                          dialog.wicketDifficultySlider(), dialog.speedSlider()};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(std::make_pair(sliders[i]->minimum(), sliders[i]->maximum()), std::make_pair(0, 100))
            << "slider " << i;
        EXPECT_EQ(sliders[i]->value(), 50);
        sliders[i]->setValue(i + 1);
    }
    EXPECT_TRUE(dialog.speedSlider()->invertedAppearance()) << "speed 0, \"Fast\", is at the top";
    dialog.testButton()->setChecked(true);
    dialog.ballByBallBox()->setChecked(true);
    dialog.accept();
    EXPECT_EQ(model.testChecked + model.ballByBall, 2);
    EXPECT_EQ(std::vector<int>(
                  {model.pitchSurface, model.pitchPace, model.outfield, model.wicketDifficulty, model.gameSpeed}),
              std::vector<int>({1, 2, 3, 4, 5}));
}

TEST(OptionsDialog, GameTypeIsDisabledAndUncheckedWhenItMayNotChange)
{
    GameOptions options;
    OptionsModel model;
    model.gameTypeEnabled = 0;
    model.load(options);
    OptionsDialog dialog(model);
    EXPECT_FALSE(dialog.oneDayButton()->isEnabled());
    EXPECT_FALSE(dialog.testButton()->isEnabled());
    EXPECT_FALSE(dialog.oneDayButton()->isChecked());
    EXPECT_FALSE(dialog.testButton()->isChecked());
}
// At the default font and a large one, and (in a second run of the suite)
// at twice the scale: every dialog shows all its words, each control apart.
TEST(Dialogs, EveryDialogIsReadableAtAnyFontAndScale)
{
    const QFont standard = QApplication::font();
    for (const int points : {0, 20}) {
        SCOPED_TRACE(points ? "20 pt font" : "default font");
        QFont font = standard;
        if (points) font.setPointSize(points);
        QApplication::setFont(font);
        GameOptions options;
        OptionsModel model;
        model.load(options);
        OptionsDialog optionsDialog(model);
        expectReadable(optionsDialog);
        AboutDialog about;
        expectReadable(about);
        TeamEditorDialog editor(TeamEditorModel::newSide(), QString());
        expectReadable(editor);
        for (QDialog* dialog : {static_cast<QDialog*>(&optionsDialog), static_cast<QDialog*>(&about)})
            EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMinMaxButtonsHint) << dialog->metaObject()->className();

        Window w(presetTeams() + " /s=" + scratchPath("readable.txt"));
        w.frame->start();
        w.frame->action(cmd::PlayGame)->trigger();
        int chosen = 0;
        ModalAnswerer answerer([&](QWidget* widget) {
            auto* dialog = qobject_cast<ChoosePlayerDialog*>(widget);
            if (!dialog) return;
            if (chosen++ == 2) expectReadable(*dialog);  // the bowlers, with their figures
            dialog->okButton()->click();
        });
        w.frame->control().tick(MatchController::kMainTimer);
        EXPECT_EQ(chosen, 3);
        TournamentWindow tournament(w.frame->control());
        tournament.show();
        EXPECT_TRUE(tournament.screen()->availableGeometry().contains(tournament.frameGeometry()));
    }
    QApplication::setFont(standard);
}

// The answer is the row selected, whichever way it was selected: through the
// selection alone, as a screen reader selects, the current row left alone;
// or with the keys, after the Options dialog has come and gone.
TEST(ChoosePlayerDialog, AnswersTheSelectedRowHoweverItWasSelected)
{
    for (const bool keys : {false, true}) {
        SCOPED_TRACE(keys ? "arrows and Enter" : "selection only");
        Window w(presetTeams() + " /s=" + scratchPath("selected.txt"));
        w.frame->start();
        w.frame->action(cmd::PlayGame)->trigger();
        ModalAnswerer answerer([&](QWidget* widget) {
            auto* dialog = qobject_cast<ChoosePlayerDialog*>(widget);
            if (!dialog) return;
            QTreeWidget* list = dialog->list();
            if (keys) {
                {
                    ModalAnswerer closesOptions;
                    dialog->optionsButton()->setFocus();
                    dialog->optionsButton()->click();
                }
                EXPECT_EQ(dialog->focusWidget(), list) << "the keys are back in the list";
                for (int i = 0; i < 3; ++i)
                    QTest::keyClick(list, Qt::Key_Down);
                QTest::keyClick(list, Qt::Key_Return);
                return;
            }
            list->selectionModel()->select(list->model()->index(3, 0),
                                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            EXPECT_EQ(list->currentIndex().row(), 0);
            dialog->okButton()->click();
        });
        w.frame->control().tick(MatchController::kMainTimer);
        const Innings& innings = w.frame->control().match().innings[0];
        // Player 3 opens, then player 4 (row 3 of the ten left).
        EXPECT_EQ(std::vector<int>(innings.battingOrder, innings.battingOrder + 2), std::vector<int>({3, 4}));
    }
}

// What is typed reaches the model at once, and Save follows its checks.
TEST(TeamEditorDialog, EditsReachTheModelAndSaveFollowsTheChecks)
{
    Team team;
    ASSERT_EQ(team.load(samplePath("northshire.xi").c_str()), 1);
    TeamEditorModel model;
    model.setTeam(team);
    TeamEditorDialog dialog(model, QString());
    EXPECT_TRUE(dialog.saveButton()->isEnabled());
    auto* keeper = qobject_cast<QCheckBox*>(dialog.table()->cellWidget(5, 1 + EditorPlayer::kIsKeeper));
    ASSERT_NE(keeper, nullptr);
    keeper->click();
    EXPECT_FALSE(dialog.saveButton()->isEnabled());
    EXPECT_TRUE(dialog.problemsLabel()->text().startsWith(QStringLiteral("0 wicket-keepers")))
        << dialog.problemsLabel()->text().toStdString();
    keeper->click();
    qobject_cast<QSpinBox*>(dialog.table()->cellWidget(0, 1))->setValue(777);
    dialog.table()->item(1, 0)->setText(QStringLiteral("Æbelø"));
    EXPECT_EQ(dialog.model().players[0].ratings[0], 777);
    EXPECT_EQ(dialog.model().players[1].name,
              "\xC3\x86"
              "bel\xC3\xB8");
    EXPECT_TRUE(dialog.saveButton()->isEnabled()) << dialog.problemsLabel()->text().toStdString();
    EXPECT_FALSE(dialog.table()->cellWidget(5, 1 + EditorPlayer::kBowlStyle)->isEnabled())
        << "the keeper does not bowl";
    // Escape with edits unsaved asks first; No keeps the dialog and its edits.
    dialog.show();
    int asked = 0;
    {
        ModalAnswerer answerer([&](QWidget* box) {
            ++asked;
            qobject_cast<QMessageBox*>(box)->button(QMessageBox::No)->click();
        });
        QTest::keyClick(&dialog, Qt::Key_Escape);
    }
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(dialog.isVisible());
}
