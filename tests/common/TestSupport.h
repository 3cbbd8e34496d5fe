#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

// Registry of the test objects in one area executable. Each tst_*.cpp ends
// with ZANTHE_TEST(ClassName); TestMain.cpp runs every registered object.
namespace zanthe::test {

using Factory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<std::pair<const char*, Factory>>& registry()
{
    static std::vector<std::pair<const char*, Factory>> all;
    return all;
}

struct Registrar {
    Registrar(const char* name, Factory f) { registry().emplace_back(name, std::move(f)); }
};

} // namespace zanthe::test

#define ZANTHE_TEST(Class)                                                                         \
    static const zanthe::test::Registrar zantheRegistrar##Class(                                   \
        #Class, [] { return std::unique_ptr<QObject>(new Class); });
