#pragma once

#include "tq_mediaconfui_export.h"

#include <QObject>

// The camera as the windows know it, without widgets. The agent does not publish the
// camera list: it picks a camera and capture format itself on cameraInfoQuery and answers with
// the local video's aspect ratio; a chosen camera and format go out by their engine indexes.
class TQ_MEDIACONFUI_EXPORT TqMediaDevices : public QObject
{
    Q_OBJECT
public:
    struct CameraChoice
    {
        int cameraIndex = 0;
        int formatIndex = 0; // the engine's capability index
        int fps = 15;
        int rotate = 0;
    };

    explicit TqMediaDevices(QObject *parent = nullptr);

    // Width over height of the local video; 0 while unknown or without a camera.
    float localVideoScale() const { return m_scale; }
    bool hasLocalVideoScale() const { return m_scaleKnown; }
    CameraChoice choice() const { return m_choice; }

public slots:
    void detectCamera();
    void selectCamera(const TqMediaDevices::CameraChoice &choice);
    void onLocalVideoScale(float scale);

signals:
    void changed();
    void cameraInfoQuery();
    void cameraSelectRequest(int cameraIndex, int formatIndex, int fps, int rotate, bool force);

private:
    float m_scale = 0.0f;
    bool m_scaleKnown = false;
    CameraChoice m_choice;
};
