#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "app/choose_player_model.h"
#include "app/options_model.h"
#include "match/match.h"
#include "ui/choose_player_dialog.h"
#include "ui/options_dialog.h"
#include "ui/tests/scripted_frame.h"

namespace {

// Both sample sides loaded and the first innings open.
struct OpenInnings {
    explicit OpenInnings(bool oneDay)
    {
        match.options().oneDay = oneDay ? 1 : 0;
        EXPECT_TRUE(match.teams[0].load(samplePath("northshire.xi").c_str()));
        EXPECT_TRUE(match.teams[1].load(samplePath("southmoor.xi").c_str()));
        EXPECT_TRUE(match.startPlay());
    }
    Innings& innings() { return match.innings[0]; }
    const Player& batsman(int index) { return *match.teams[0].player(index); }
    const Player& bowler(int position) { return *match.teams[1].player(match.teams[1].bowlerAt(position)); }

    Match match;
};

QStringList rows(const QListWidget& list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i) out << list.item(i)->text();
    return out;
}

}  // namespace

TEST(ChoosePlayerDialog, BatsmanListShowsThoseYetToBatInTeamOrder)
{
    OpenInnings open(true);
    Innings& inn = open.innings();
    inn.battingOrder[0] = 0;
    inn.battingOrder[1] = 1;
    inn.battingOrder[2] = 2;
    inn.batsmenIn = 3;

    ChoosePlayerModel model;
    model.setup(inn, 1, 0);
    ChoosePlayerDialog dialog(model);
    QStringList expected;
    for (int p = 3; p < 11; ++p) expected << open.batsman(p).name();
    EXPECT_EQ(rows(*dialog.list()), expected);
    EXPECT_EQ(dialog.list()->currentRow(), 0) << "the first row is selected";
    EXPECT_EQ(dialog.windowTitle(), "Choose Batsman");
    const Player& first = open.batsman(3);
    EXPECT_EQ(dialog.figureLine()->text(), QString("0 %1 %2 %3 %4")
                                               .arg(first.name())
                                               .arg(first.batTempo)
                                               .arg(first.batRisk)
                                               .arg(first.batSurvival));
    EXPECT_TRUE(dialog.bowlingFigures()->text().isEmpty());
}

TEST(ChoosePlayerDialog, BowlerListLeavesOutThePreviousOversBowlerAndShowsFigures)
{
    OpenInnings open(false);
    Innings& inn = open.innings();
    const int bowlers = open.match.teams[1].bowlerCount();
    ASSERT_GE(bowlers, 3);
    inn.bowler = 0;
    BowlingLine& line = inn.bowling[2];
    line.balls = 13;
    line.maidens = 1;
    line.runs = 20;
    line.wickets = 2;

    ChoosePlayerModel model;
    model.setup(inn, 0, 1);
    ChoosePlayerDialog dialog(model);
    QStringList expected;
    for (int b = 1; b < bowlers; ++b) expected << open.bowler(b).name();
    EXPECT_EQ(rows(*dialog.list()), expected) << "bowler position 0 bowled the last over";
    EXPECT_EQ(dialog.windowTitle(), "Choose Bowler");

    dialog.list()->setCurrentRow(1);  // bowler position 2
    const Player& b2 = open.bowler(2);
    EXPECT_EQ(dialog.figureLine()->text(),
              QString("1 %1 %2 %3 %4").arg(b2.name()).arg(b2.bowlTempo).arg(b2.bowlThreat).arg(b2.bowlStyle));
    EXPECT_EQ(dialog.bowlingFigures()->text(), "2-1-20-2");
}

TEST(ChoosePlayerDialog, DeclareIsOfferedOnlyWhenAllowedAndAnswersWithTheSelection)
{
    OpenInnings open(false);
    ChoosePlayerModel oneDay;
    oneDay.setup(open.innings(), 1, 0);
    ChoosePlayerDialog refused(oneDay);
    EXPECT_FALSE(refused.declareButton()->isEnabled());

    ChoosePlayerModel test;
    test.setup(open.innings(), 1, 1);
    ChoosePlayerDialog allowed(test);
    ASSERT_TRUE(allowed.declareButton()->isEnabled());
    allowed.list()->setCurrentRow(4);
    allowed.show();
    allowed.declareButton()->click();
    EXPECT_FALSE(allowed.isVisible());
    EXPECT_EQ(test.declared, 1);
    EXPECT_EQ(test.choice, 4) << "player index of the selected row";
}

TEST(ChoosePlayerDialog, EscapeAnswersWithTheSelectedRow)
{
    OpenInnings open(true);
    ChoosePlayerModel model;
    model.setup(open.innings(), 1, 0);
    ChoosePlayerDialog dialog(model);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(model.choice, 0) << "Escape right away answers with the first listed player";
    EXPECT_EQ(model.declared, 0);
}

TEST(ChoosePlayerDialog, EnterInTheListAnswersWithTheSelectedRow)
{
    OpenInnings open(true);
    ChoosePlayerModel model;
    model.setup(open.innings(), 1, 0);
    ChoosePlayerDialog dialog(model);
    dialog.show();
    dialog.list()->setCurrentRow(3);
    QTest::keyClick(dialog.list(), Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible()) << "Enter presses the default button, OK";
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.choice, 3);
}

TEST(ChoosePlayerDialog, DoubleClickAnswersWithTheClickedRow)
{
    OpenInnings open(true);
    ChoosePlayerModel model;
    model.setup(open.innings(), 1, 0);
    ChoosePlayerDialog dialog(model);
    dialog.show();
    QListWidget* list = dialog.list();
    const QPoint centre = list->visualItemRect(list->item(2)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.choice, 2);
}

TEST(ChoosePlayerDialog, OptionsButtonOpensTheOptionsAndKeepsTheChoiceOpen)
{
    OpenInnings open(true);
    ChoosePlayerModel model;
    model.setup(open.innings(), 1, 0);
    int opened = 0;
    model.optionsHandler = [&] { ++opened; };
    ChoosePlayerDialog dialog(model);
    dialog.show();
    dialog.optionsButton()->click();
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(dialog.isVisible());
}

TEST(ChoosePlayerDialog, PlacedWithItsTopRightCornerAtTheAnchor)
{
    OpenInnings open(true);
    ChoosePlayerModel model;
    model.setup(open.innings(), 1, 0);
    ChoosePlayerDialog dialog(model);
    dialog.placeTopRightAt(QPoint(600, 0));
    EXPECT_EQ(dialog.frameGeometry().x() + dialog.frameGeometry().width(), 600);
    EXPECT_EQ(dialog.frameGeometry().y(), 0);
    const QPoint before = dialog.pos();
    dialog.placeTopRightAt(QPoint(5, -5));
    EXPECT_EQ(dialog.pos(), before) << "not moved when its left and top would both be negative";
}

TEST(ChoosePlayerDialog, FirstBallOfAnInteractiveMatchAsksForTwoBatsmenAndABowler)
{
    for (const bool test : {false, true}) {
        WindowUnderTest<ScriptedFrame> w(presetTeams() + (test ? " /t" : "") + " /s=" + scratchPath("first-ball.txt"));
        w.frame->start();
        w.frame->action(cmd::PlayGame)->trigger();
        std::vector<std::pair<QString, int>> asked;
        std::vector<bool> declareOffered;
        ModalAnswerer answerer([&](QWidget* widget) {
            auto* dialog = qobject_cast<ChoosePlayerDialog*>(widget);
            if (!dialog) return;
            asked.emplace_back(dialog->windowTitle(), dialog->list()->count());
            declareOffered.push_back(dialog->declareButton()->isEnabled());
            dialog->okButton()->click();
        });
        w.frame->control().onTimer(MainWindow::kMainTimer);

        const int bowlers = w.frame->control().match().teams[1].bowlerCount();
        const std::vector<std::pair<QString, int>> expected = {
            {"Choose Batsman", 11}, {"Choose Batsman", 10}, {"Choose Bowler", bowlers}};
        EXPECT_EQ(asked, expected) << (test ? "Test match" : "one-day match");
        for (const bool offered : declareOffered) EXPECT_EQ(offered, test) << "Declare only in a Test match";
    }
}

TEST(OptionsDialog, TrackbarsRunFromZeroToHundredWithoutTicksAndFastAtTheTop)
{
    OptionsModel model;
    OptionsDialog dialog(model);
    const QSlider* sliders[] = {dialog.pitchSurfaceSlider(), dialog.pitchPaceSlider(), dialog.outfieldSlider(),
                                dialog.wicketDifficultySlider(), dialog.speedSlider()};
    for (const QSlider* s : sliders) {
        EXPECT_EQ(s->minimum(), 0);
        EXPECT_EQ(s->maximum(), 100);
        EXPECT_EQ(s->tickPosition(), QSlider::NoTicks);
    }
    for (int i = 0; i < 4; ++i) EXPECT_EQ(sliders[i]->orientation(), Qt::Horizontal);
    EXPECT_EQ(dialog.speedSlider()->orientation(), Qt::Vertical);
    EXPECT_TRUE(dialog.speedSlider()->invertedAppearance()) << "speed 0, \"Fast\", is at the top";
    EXPECT_EQ(dialog.windowTitle(), "Game Options");
}

TEST(OptionsDialog, OpensWithTheModelsValues)
{
    GameOptions options;
    options.pitchSurface = 10;
    options.pitchPace = 20;
    options.outfield = 30;
    options.wicketDifficulty = 40;
    options.gameSpeed = 70;
    options.briefOutput = 0;
    options.oneDay = 0;
    OptionsModel model;
    model.initDialog(options);
    OptionsDialog dialog(model);
    EXPECT_EQ(dialog.pitchSurfaceSlider()->value(), 10);
    EXPECT_EQ(dialog.pitchPaceSlider()->value(), 20);
    EXPECT_EQ(dialog.outfieldSlider()->value(), 30);
    EXPECT_EQ(dialog.wicketDifficultySlider()->value(), 40);
    EXPECT_EQ(dialog.speedSlider()->value(), 70);
    EXPECT_TRUE(dialog.ballByBallBox()->isChecked());
    EXPECT_TRUE(dialog.testButton()->isChecked());
    EXPECT_FALSE(dialog.oneDayButton()->isChecked());
    EXPECT_TRUE(dialog.oneDayButton()->isEnabled());
}

TEST(OptionsDialog, GameTypeIsDisabledAndUncheckedWhenItMayNotChange)
{
    GameOptions options;
    OptionsModel model;
    model.gameTypeEnabled = 0;
    model.initDialog(options);
    OptionsDialog dialog(model);
    EXPECT_FALSE(dialog.oneDayButton()->isEnabled());
    EXPECT_FALSE(dialog.testButton()->isEnabled());
    EXPECT_FALSE(dialog.oneDayButton()->isChecked());
    EXPECT_FALSE(dialog.testButton()->isChecked());
    dialog.accept();

    EngineContext context;
    context.options.oneDay = 1;
    model.ok(context);
    EXPECT_EQ(context.options.oneDay, 1) << "confirming leaves the match type as it was";
}

TEST(OptionsDialog, OkWritesTheControlsBack)
{
    GameOptions options;
    OptionsModel model;
    model.initDialog(options);
    OptionsDialog dialog(model);
    dialog.testButton()->setChecked(true);
    dialog.ballByBallBox()->setChecked(true);
    dialog.pitchSurfaceSlider()->setValue(1);
    dialog.pitchPaceSlider()->setValue(2);
    dialog.outfieldSlider()->setValue(70);
    dialog.wicketDifficultySlider()->setValue(4);
    dialog.speedSlider()->setValue(100);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(model.oneDayChecked, 0);
    EXPECT_EQ(model.testChecked, 1);
    EXPECT_EQ(model.ballByBall, 1);
    EXPECT_EQ(model.pitchSurface, 1);
    EXPECT_EQ(model.pitchPace, 2);
    EXPECT_EQ(model.outfield, 70);
    EXPECT_EQ(model.wicketDifficulty, 4);
    EXPECT_EQ(model.gameSpeed, 100);
}

TEST(OptionsDialog, EscapeLeavesTheModelUntouched)
{
    GameOptions options;
    OptionsModel model;
    model.initDialog(options);
    OptionsDialog dialog(model);
    dialog.show();
    dialog.outfieldSlider()->setValue(90);
    dialog.speedSlider()->setValue(0);
    dialog.ballByBallBox()->setChecked(true);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(model.outfield, 50);
    EXPECT_EQ(model.gameSpeed, 50);
    EXPECT_EQ(model.ballByBall, 0);
}
