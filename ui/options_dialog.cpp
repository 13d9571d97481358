#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/options_model.h"
#include "resources/strings.h"
#include "ui/dialog_units.h"
#include "ui/ui_text.h"

namespace {

QLabel* endLabel(QGroupBox* group, int textId, Qt::Alignment align)
{
    auto* l = new QLabel(uiText(textId), group);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

// A slider in its own frame, the frame's title its accessible name and the
// words at its two ends its description, so a screen reader can tell the
// sliders apart. Laid out, the frame grows with its words and the font.
QSlider* sliderGroup(QWidget* parent, const DialogUnits& du, int titleId, int lowId, int highId, int value,
                     Qt::Orientation orientation)
{
    auto* group = new QGroupBox(uiText(titleId), parent);
    auto* s = new QSlider(orientation, group);
    s->setRange(OptionsModel::kMin, OptionsModel::kMax);
    s->setTickPosition(QSlider::NoTicks);
    s->setPageStep(10);
    s->setAccessibleName(uiText(titleId));
    s->setAccessibleDescription(uiText(lowId) + QStringLiteral(" (%1) to ").arg(OptionsModel::kMin) + uiText(highId) +
                                QStringLiteral(" (%1)").arg(OptionsModel::kMax));
    QLabel* low = endLabel(group, lowId, Qt::AlignLeft);
    QLabel* high = endLabel(group, highId, orientation == Qt::Vertical ? Qt::AlignLeft : Qt::AlignRight);
    if (orientation == Qt::Vertical) {
        // The minimum ("Fast") is at the top, and Up moves towards it.
        s->setInvertedAppearance(true);
        s->setInvertedControls(true);
        s->setMinimumHeight(du.y(68));
        auto* layout = new QGridLayout(group);
        layout->addWidget(s, 0, 0, 3, 1);
        layout->addWidget(low, 0, 1, Qt::AlignTop);
        layout->setRowStretch(1, 1);
        layout->addWidget(high, 2, 1, Qt::AlignBottom);
    } else {
        s->setMinimumWidth(du.x(100));
        auto* layout = new QGridLayout(group);
        layout->addWidget(s, 0, 0, 1, 3);
        layout->addWidget(low, 1, 0);
        layout->setColumnStretch(1, 1);
        layout->addWidget(high, 1, 2);
    }
    s->setValue(value);
    return s;
}

}  // namespace

OptionsDialog::OptionsDialog(OptionsModel& model, QWidget* parent) : QDialog(parent, kDialogFlags), model_(model)
{
    applyDialogLook(*this);
    setWindowTitle(uiText(str::GameOptionsCaption));
    const DialogUnits du(font());

    // The four ground settings down the left; the game type, the report, the
    // speed and OK down the right. Layouts size every frame to its words.
    auto* left = new QVBoxLayout;
    pitchSurface_ = sliderGroup(this, du, str::PitchSurfaceGroup, str::BareLabel, str::GreenTopLabel,
                                model_.pitchSurface, Qt::Horizontal);
    pitchPace_ =
        sliderGroup(this, du, str::PitchTypeGroup, str::DullLabel, str::LivelyLabel, model_.pitchPace, Qt::Horizontal);
    outfield_ =
        sliderGroup(this, du, str::OutfieldGroup, str::SlowLabel, str::FastLabel, model_.outfield, Qt::Horizontal);
    wicketDifficulty_ = sliderGroup(this, du, str::WicketDifficultyGroup, str::BattingEasyLabel,
                                    str::BattingTrickyLabel, model_.wicketDifficulty, Qt::Horizontal);
    for (QSlider* s : {pitchSurface_, pitchPace_, outfield_, wicketDifficulty_})
        left->addWidget(s->parentWidget());

    auto* gameType = new QGroupBox(uiText(str::GameTypeGroup), this);
    oneDay_ = new QRadioButton(uiText(str::OneDayRadio), gameType);
    overs_ = new QSpinBox(gameType);
    overs_->setRange(1, 50);
    overs_->setValue(model_.overs);
    overs_->setToolTip(QStringLiteral("Overs an innings in a limited-overs match"));
    overs_->setAccessibleName(QStringLiteral("Overs"));
    test_ = new QRadioButton(uiText(str::TestRadio), gameType);
    auto* typeLayout = new QGridLayout(gameType);
    typeLayout->addWidget(oneDay_, 0, 0);
    typeLayout->addWidget(overs_, 0, 1);
    typeLayout->addWidget(test_, 1, 0, 1, 2);
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

    auto* output = new QGroupBox(uiText(str::OutputFileGroup), this);
    ballByBall_ = new QCheckBox(uiText(str::BallByBallCheck), output);
    ballByBall_->setChecked(model_.ballByBall != 0);
    (new QVBoxLayout(output))->addWidget(ballByBall_);

    speed_ = sliderGroup(this, du, str::GameSpeedGroup, str::FastLabel, str::SlowLabel, model_.gameSpeed, Qt::Vertical);

    auto* ok = new QPushButton(uiText(str::OkButton), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* right = new QVBoxLayout;
    right->addWidget(gameType);
    right->addWidget(output);
    right->addWidget(speed_->parentWidget(), 1);
    right->addWidget(ok);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);
    // As large as its words need and no larger; a larger font makes it larger.
    layout->setSizeConstraint(QLayout::SetFixedSize);
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
