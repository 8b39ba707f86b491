#pragma once

#include <QtCore/qglobal.h>

#if defined(TQ_AGENT_LIBRARY)
#define TQ_AGENT_EXPORT Q_DECL_EXPORT
#else
#define TQ_AGENT_EXPORT Q_DECL_IMPORT
#endif
