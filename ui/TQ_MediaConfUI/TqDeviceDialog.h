#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QSlider;
class QSpinBox;
class TqCallState;
class TqMediaDevices;

// The camera and the speaker. The agent chooses a camera by itself when asked to detect one
// (and reports the local picture's shape); a camera and capture format can also be chosen by
// their engine numbers.
class TqDeviceDialog : public QDialog
{
    Q_OBJECT
public:
    TqDeviceDialog(TqMediaDevices *devices, TqCallState *state, QWidget *parent = nullptr);

    // The capture formats offered, by the engine's capability index.
    static constexpr int FormatCount = 8;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void apply();
    void refresh();

    TqMediaDevices *m_devices;
    TqCallState *m_state;
    QSpinBox *m_camera;
    QComboBox *m_format;
    QComboBox *m_fps;
    QComboBox *m_rotate;
    QLabel *m_scale;
    QSlider *m_volume;
    QLabel *m_volumeValue;
};
