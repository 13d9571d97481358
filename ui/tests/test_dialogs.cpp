#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableWidget>
#include <vector>

#include "app/choose_player_model.h"
#include "app/options_model.h"
#include "ui/about_dialog.h"
#include "ui/choose_player_dialog.h"
#include "ui/options_dialog.h"
#include "ui/team_editor_dialog.h"
#include "ui/tests/ui_test_support.h"

namespace {

QStringList rows(const QListWidget& list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out << list.item(i)->text();
    return out;
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
TEST(Dialogs, ControlsStayInsideTheDialogAndTheirFramesAndThereIsNoMinimiseOrMaximise)
{
    GameOptions options;
    OptionsModel model;
    model.load(options);
    OptionsDialog optionsDialog(model);
    AboutDialog about;
    for (QDialog* dialog : {static_cast<QDialog*>(&optionsDialog), static_cast<QDialog*>(&about)}) {
        const char* name = dialog->metaObject()->className();
        EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMinMaxButtonsHint) << name;
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << name << " has a fixed size";
        const QList<QWidget*> children = dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (QWidget* child : children) {
            EXPECT_TRUE(dialog->rect().contains(child->geometry()))
                << name << ": " << child->objectName().toStdString();
            // A control in a frame keeps clear of the frame's edges.
            for (QWidget* frame : children) {
                if (!qobject_cast<QGroupBox*>(frame) || frame == child) continue;
                if (!frame->geometry().contains(child->geometry().center())) continue;
                EXPECT_TRUE(frame->geometry().adjusted(2, 2, -2, -2).contains(child->geometry()))
                    << name << ": a control runs into the frame \""
                    << qobject_cast<QGroupBox*>(frame)->title().toStdString() << "\"";
            }
        }
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
}
