#include "TqMediaDevices.h"

#include <cmath>

TqMediaDevices::TqMediaDevices(QObject *parent)
    : QObject(parent)
{ }

void TqMediaDevices::detectCamera()
{
    emit cameraInfoQuery();
}

void TqMediaDevices::selectCamera(const CameraChoice &choice)
{
    if (choice.cameraIndex < 0 || choice.formatIndex < 0 || choice.fps <= 0)
        return;
    m_choice = choice;
    // Forced: the user's choice replaces whatever the engine picked on its own.
    emit cameraSelectRequest(choice.cameraIndex, choice.formatIndex, choice.fps, choice.rotate,
                             true);
    emit changed();
}

void TqMediaDevices::onLocalVideoScale(float scale)
{
    m_scaleKnown = true;
    m_scale = std::isfinite(scale) && scale > 0.0f ? scale : 0.0f;
    emit changed();
}
