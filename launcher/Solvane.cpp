#include "Solvane.h"

#include "TQ_AppCenter.h"
#include "TQ_CustomStyle.h"
#include "TQ_LoginUI.h"
#include "TQ_MainUI.h"
#include "TQ_MediaConfUI.h"
#include "TQ_WhiteBoardUI.h"

Solvane::Solvane(void *eventHandle, QWidget *parent)
    : QWidget(parent)
{
    TQ_CustomStyle::initGlobalStyle();
    new TQ_LoginUI();
    auto *mainUi = new TQ_MainUI();
    if (eventHandle)
        mainUi->setHandle(eventHandle);
    new TQ_MediaConfUI();
    new TQ_WhiteBoardUI();
    TQ_AppCenter::instance();
}

Solvane::~Solvane() = default;
