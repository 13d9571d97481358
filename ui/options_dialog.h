#pragma once
#include <QDialog>

class OptionsModel;
class QCheckBox;
class QRadioButton;
class QSlider;

// "Game Options": match type, pitch and ground settings, speed and the
// ball-by-ball report. Opens with the model's values; OK writes the controls
// back into the model, Escape or the close box leaves it untouched.
class OptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit OptionsDialog(OptionsModel& model, QWidget* parent = nullptr);

    QRadioButton* oneDayButton() const { return oneDay_; }
    QRadioButton* testButton() const { return test_; }
    QCheckBox* ballByBallBox() const { return ballByBall_; }
    QSlider* pitchSurfaceSlider() const { return pitchSurface_; }
    QSlider* pitchPaceSlider() const { return pitchPace_; }
    QSlider* outfieldSlider() const { return outfield_; }
    QSlider* wicketDifficultySlider() const { return wicketDifficulty_; }
    QSlider* speedSlider() const { return speed_; }

    void accept() override;

private:
    OptionsModel& model_;
    QRadioButton* oneDay_;
    class QSpinBox* overs_;
    QRadioButton* test_;
    QCheckBox* ballByBall_;
    QSlider* pitchSurface_;
    QSlider* pitchPace_;
    QSlider* outfield_;
    QSlider* wicketDifficulty_;
    QSlider* speed_;
};
