#include "TqDeviceDialog.h"

#include "TqCallState.h"
#include "TqMediaDevices.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

TqDeviceDialog::TqDeviceDialog(TqMediaDevices *devices, TqCallState *state, QWidget *parent)
    : QDialog(parent)
    , m_devices(devices)
    , m_state(state)
    , m_camera(new QSpinBox(this))
    , m_format(new QComboBox(this))
    , m_fps(new QComboBox(this))
    , m_rotate(new QComboBox(this))
    , m_scale(new QLabel(this))
    , m_volume(new QSlider(Qt::Horizontal, this))
    , m_volumeValue(new QLabel(this))
{
    setObjectName(QStringLiteral("deviceDialog"));
    setWindowTitle(tr("Audio and video devices"));
    m_camera->setObjectName(QStringLiteral("cameraSpin"));
    m_format->setObjectName(QStringLiteral("formatCombo"));
    m_fps->setObjectName(QStringLiteral("fpsCombo"));
    m_rotate->setObjectName(QStringLiteral("rotateCombo"));
    m_scale->setObjectName(QStringLiteral("scaleLabel"));
    m_volume->setObjectName(QStringLiteral("volumeSlider"));
    m_volumeValue->setObjectName(QStringLiteral("volumeValue"));

    m_camera->setRange(0, 15);
    for (int i = 0; i < FormatCount; ++i)
        m_format->addItem(tr("Format %1").arg(i + 1), i);
    for (int fps : {15, 25, 30})
        m_fps->addItem(tr("%1 frames/s").arg(fps), fps);
    for (int degrees : {0, 90, 180, 270})
        m_rotate->addItem(tr("%1°").arg(degrees), degrees);
    m_volume->setRange(0, TqCallState::MaxVolume);

    auto *detect = new QPushButton(tr("Detect camera"), this);
    detect->setObjectName(QStringLiteral("detectCameraButton"));
    auto *use = new QPushButton(tr("Use this camera"), this);
    use->setObjectName(QStringLiteral("useCameraButton"));
    connect(detect, &QPushButton::clicked, m_devices, &TqMediaDevices::detectCamera);
    connect(use, &QPushButton::clicked, this, &TqDeviceDialog::apply);
    connect(m_devices, &TqMediaDevices::changed, this, &TqDeviceDialog::refresh);
    connect(m_state, &TqCallState::changed, this, &TqDeviceDialog::refresh);
    connect(m_volume, &QSlider::valueChanged, this, [this](int value) {
        m_volumeValue->setText(tr("%1%").arg(value));
        if (!m_volume->isSliderDown())
            m_state->setVolume(value);
    });
    connect(m_volume, &QSlider::sliderReleased, this,
            [this] { m_state->setVolume(m_volume->value()); });

    auto *cameraBox = new QGroupBox(tr("Camera"), this);
    auto *cameraForm = new QFormLayout(cameraBox);
    cameraForm->addRow(tr("Camera number"), m_camera);
    cameraForm->addRow(tr("Capture format"), m_format);
    cameraForm->addRow(tr("Frame rate"), m_fps);
    cameraForm->addRow(tr("Rotation"), m_rotate);
    cameraForm->addRow(tr("Local video"), m_scale);
    auto *cameraButtons = new QHBoxLayout;
    cameraButtons->addWidget(detect);
    cameraButtons->addWidget(use);
    cameraForm->addRow(cameraButtons);

    auto *speakerBox = new QGroupBox(tr("Speaker"), this);
    auto *speakerRow = new QHBoxLayout(speakerBox);
    speakerRow->addWidget(new QLabel(tr("Volume"), speakerBox));
    speakerRow->addWidget(m_volume, 1);
    speakerRow->addWidget(m_volumeValue);
    m_volumeValue->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("100%"))
                                   + fontMetrics().averageCharWidth());

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(cameraBox);
    layout->addWidget(speakerBox);
    layout->addWidget(buttons);
    setMinimumWidth(fontMetrics().averageCharWidth() * 48);
    refresh();
}

void TqDeviceDialog::showEvent(QShowEvent *event)
{
    m_state->refreshVolume();
    QDialog::showEvent(event);
}

void TqDeviceDialog::apply()
{
    TqMediaDevices::CameraChoice choice;
    choice.cameraIndex = m_camera->value();
    choice.formatIndex = m_format->currentData().toInt();
    choice.fps = m_fps->currentData().toInt();
    choice.rotate = m_rotate->currentData().toInt();
    m_devices->selectCamera(choice);
}

void TqDeviceDialog::refresh()
{
    if (!m_devices->hasLocalVideoScale())
        m_scale->setText(tr("Not detected yet"));
    else if (m_devices->localVideoScale() <= 0.0f)
        m_scale->setText(tr("No camera found"));
    else
        m_scale->setText(
            tr("Width to height %1").arg(double(m_devices->localVideoScale()), 0, 'f', 2));

    const int volume = m_state->volume();
    m_volume->setEnabled(volume >= 0);
    if (volume >= 0 && !m_volume->isSliderDown()) {
        const QSignalBlocker block(m_volume);
        m_volume->setValue(volume);
    }
    m_volumeValue->setText(volume >= 0 ? tr("%1%").arg(m_volume->value()) : QString());
}
