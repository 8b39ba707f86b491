#pragma once

// Several QtTest classes run by one executable: each registers itself at file scope with
// TQ_TEST_CLASS(Class), and main() calls runRegisteredTests.

#include <QByteArray>
#include <QObject>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

struct TestRegistry
{
    struct Entry
    {
        const char *name;
        std::function<QObject *()> make;
    };
    static std::vector<Entry> &entries()
    {
        static std::vector<Entry> list;
        return list;
    }
    static bool add(const char *name, std::function<QObject *()> make)
    {
        entries().push_back({name, std::move(make)});
        return true;
    }
};

// Runs every registered class in link order; $<onlyVariable>=<Class> runs one class only, so
// that QtTest's own arguments (a function name, -v2, ...) apply to it. 0 when all passed.
inline int runRegisteredTests(int argc, char **argv, const char *onlyVariable)
{
    const QByteArray only = qgetenv(onlyVariable);
    int failed = 0;
    for (const TestRegistry::Entry &entry : TestRegistry::entries()) {
        if (!only.isEmpty() && only != entry.name)
            continue;
        const std::unique_ptr<QObject> test(entry.make());
        failed += QTest::qExec(test.get(), argc, argv) != 0;
    }
    return failed == 0 ? 0 : 1;
}

#define TQ_TEST_CLASS(Class)                                                                       \
    static const bool Class##_registered                                                           \
        = TestRegistry::add(#Class, []() -> QObject * { return new Class; });
