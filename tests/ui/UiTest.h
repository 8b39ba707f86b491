#pragma once

// The client's window tests: several QtTest classes run by one executable (tests/ui/main.cpp).
// A class registers itself with TQ_UI_TEST(Class) at file scope.

#include "TestRegistry.h"

#include <QByteArray>

// Points an environment variable elsewhere for one test class or case and gives the next one
// back what it had: the classes share one process and run in link order.
class UiScopedEnv
{
public:
    UiScopedEnv(const char *name, const QByteArray &value)
        : m_name(name)
        , m_had(qEnvironmentVariableIsSet(name))
        , m_old(qgetenv(name))
    {
        qputenv(name, value);
    }
    ~UiScopedEnv()
    {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    UiScopedEnv(const UiScopedEnv &) = delete;
    UiScopedEnv &operator=(const UiScopedEnv &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

#define TQ_UI_TEST(Class) TQ_TEST_CLASS(Class)
