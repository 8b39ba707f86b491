#pragma once

#include <QtCore/qglobal.h>

#if defined(TQ_UTIL_LIBRARY)
#define TQ_UTIL_EXPORT Q_DECL_EXPORT
#else
#define TQ_UTIL_EXPORT Q_DECL_IMPORT
#endif
