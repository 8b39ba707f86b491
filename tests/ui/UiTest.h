#pragma once

// The client's window tests: several QtTest classes run by one executable (tests/ui/main.cpp).
// A class registers itself with TQ_UI_TEST(Class) at file scope.

#include <QObject>

#include <functional>
#include <vector>

struct UiTestRegistry
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

#define TQ_UI_TEST(Class)                                                                         \
    static const bool Class##_registered                                                          \
        = UiTestRegistry::add(#Class, []() -> QObject * { return new Class; });
