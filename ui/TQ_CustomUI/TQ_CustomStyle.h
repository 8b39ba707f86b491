#pragma once

#include "tq_customui_export.h"

#include <QString>

class TQ_CUSTOMUI_EXPORT TQ_CustomStyle
{
public:
    // The suite's look for every widget of the application: Fusion, the suite's palette and
    // its one stylesheet (a resource of this library); needs the QApplication.
    static void initGlobalStyle();
    // The stylesheet initGlobalStyle() applies.
    static QString styleSheet();
};
