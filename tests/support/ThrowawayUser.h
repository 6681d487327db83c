#pragma once

#include <QCoreApplication>
#include <QTest>
#include <cstdio>
#include <pwd.h>
#include <unistd.h>

namespace Tempolane::Testing {

constexpr const char* throwawayUser = "tempolane-test";

// Runs the tests only as the throwaway user of scripts/run-as-test-user, because they replace
// the crontab of whoever runs them; anyone else gets 77, skipped.
template <typename Test> int execAsThrowawayUser(int argc, char* argv[])
{
    const passwd* user = ::getpwuid(::getuid());
    if (!user || qstrcmp(user->pw_name, throwawayUser) != 0) {
        std::fprintf(stderr, "runs only as %s (see scripts/run-as-test-user)\n", throwawayUser);
        return 77;
    }
    QCoreApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace Tempolane::Testing
