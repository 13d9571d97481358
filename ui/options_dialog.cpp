#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>

#include "app/options_model.h"
#include "resources/strings.h"
#include "ui/dialog_units.h"
#include "ui/ui_text.h"

namespace {

struct Rect {
    int x, y, w, h;
};

void place(QWidget* widget, const DialogUnits& du, Rect r)
{
    widget->setGeometry(du.rect(r.x, r.y, r.w, r.h));
}

QLabel* label(QWidget* parent, const DialogUnits& du, int textId, Rect r, Qt::Alignment align = Qt::AlignLeft)
{
    auto* l = new QLabel(uiText(textId), parent);
    l->setAlignment(align | Qt::AlignVCenter);
    place(l, du, r);
    return l;
}

QSlider* slider(QWidget* parent, const DialogUnits& du, Qt::Orientation orientation, Rect r, int value)
{
    auto* s = new QSlider(orientation, parent);
    s->setRange(OptionsModel::kMin, OptionsModel::kMax);
    s->setTickPosition(QSlider::NoTicks);
    s->setPageStep(10);
    if (orientation == Qt::Vertical) {
        // The minimum ("Fast") is at the top, and Up moves towards it.
        s->setInvertedAppearance(true);
        s->setInvertedControls(true);
    }
    s->setValue(value);
    place(s, du, r);
    return s;
}

}  // namespace

OptionsDialog::OptionsDialog(OptionsModel& model, QWidget* parent) : QDialog(parent, kDialogFlags), model_(model)
{
    applyDialogLook(*this);
    setWindowTitle(uiText(str::GameOptionsCaption));
    const DialogUnits du(font());
    // A margin below the lowest frame, as between the frames.
    setFixedSize(du.size(187, 185));

    // Group boxes first, so the controls inside them stack above.
    const struct {
        int textId;
        Rect rect;
    } groups[] = {
        {str::GameTypeGroup, {122, 7, 58, 38}},          {str::OutputFileGroup, {122, 48, 58, 25}},
        {str::GameSpeedGroup, {122, 80, 58, 81}},        {str::PitchSurfaceGroup, {5, 5, 110, 40}},
        {str::PitchTypeGroup, {5, 50, 110, 40}},         {str::OutfieldGroup, {5, 95, 110, 40}},
        {str::WicketDifficultyGroup, {5, 140, 110, 40}},
    };
    for (const auto& g : groups)
        place(new QGroupBox(uiText(g.textId), this), du, g.rect);

    oneDay_ = new QRadioButton(uiText(str::OneDayRadio), this);
    place(oneDay_, du, {126, 18, 34, 10});
    overs_ = new QSpinBox(this);
    overs_->setRange(1, 50);
    overs_->setValue(model_.overs);
    overs_->setToolTip(QStringLiteral("Overs an innings in a limited-overs match"));
    overs_->setAccessibleName(QStringLiteral("Overs"));
    place(overs_, du, {160, 16, 19, 12});
    test_ = new QRadioButton(uiText(str::TestRadio), this);
    place(test_, du, {126, 31, 40, 10});
    if (model_.gameTypeEnabled) {
        oneDay_->setChecked(model_.oneDayChecked != 0);
        test_->setChecked(model_.testChecked != 0);
    } else {
        oneDay_->setEnabled(false);
        test_->setEnabled(false);
    }
    overs_->setEnabled(model_.gameTypeEnabled && oneDay_->isChecked());
    connect(oneDay_, &QRadioButton::toggled, overs_,
            [this](bool on) { overs_->setEnabled(on && model_.gameTypeEnabled); });

    ballByBall_ = new QCheckBox(uiText(str::BallByBallCheck), this);
    place(ballByBall_, du, {126, 57, 52, 12});
    ballByBall_->setChecked(model_.ballByBall != 0);

    speed_ = slider(this, du, Qt::Vertical, {131, 89, 15, 68}, model_.gameSpeed);
    label(this, du, str::FastLabel, {147, 93, 26, 10});
    label(this, du, str::SlowLabel, {149, 146, 25, 10});

    pitchSurface_ = slider(this, du, Qt::Horizontal, {10, 15, 100, 15}, model_.pitchSurface);
    label(this, du, str::BareLabel, {10, 30, 40, 10});
    label(this, du, str::GreenTopLabel, {65, 30, 45, 10}, Qt::AlignRight);

    pitchPace_ = slider(this, du, Qt::Horizontal, {10, 60, 100, 15}, model_.pitchPace);
    label(this, du, str::DullLabel, {10, 75, 40, 10});
    label(this, du, str::LivelyLabel, {65, 75, 45, 10}, Qt::AlignRight);

    outfield_ = slider(this, du, Qt::Horizontal, {10, 105, 100, 15}, model_.outfield);
    label(this, du, str::SlowLabel, {10, 120, 50, 10});
    label(this, du, str::FastLabel, {60, 120, 50, 10}, Qt::AlignRight);

    // Placed in its frame as the other sliders are, clear of the frame's bottom edge.
    wicketDifficulty_ = slider(this, du, Qt::Horizontal, {10, 150, 100, 15}, model_.wicketDifficulty);
    label(this, du, str::BattingEasyLabel, {10, 165, 50, 10});
    label(this, du, str::BattingTrickyLabel, {60, 165, 50, 10}, Qt::AlignRight);

    auto* ok = new QPushButton(uiText(str::OkButton), this);
    place(ok, du, {130, 165, 50, 14});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void OptionsDialog::accept()
{
    if (model_.gameTypeEnabled) {
        model_.oneDayChecked = oneDay_->isChecked() ? 1 : 0;
        model_.testChecked = test_->isChecked() ? 1 : 0;
        model_.overs = overs_->value();
    }
    model_.ballByBall = ballByBall_->isChecked() ? 1 : 0;
    model_.pitchSurface = pitchSurface_->value();
    model_.pitchPace = pitchPace_->value();
    model_.outfield = outfield_->value();
    model_.wicketDifficulty = wicketDifficulty_->value();
    model_.gameSpeed = speed_->value();
    QDialog::accept();
}
