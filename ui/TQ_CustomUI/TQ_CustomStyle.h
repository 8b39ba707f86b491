#pragma once

#include "tq_customui_export.h"

class TQ_CUSTOMUI_EXPORT TQ_CustomStyle
{
public:
    // The suite's look for every widget of the application; needs the QApplication.
    static void initGlobalStyle();
};
