#pragma once
// A broken invariant in a fuzz target: print what went wrong and abort, so libFuzzer
// saves the input and the run fails.

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                          \
    do {                                                                                     \
        if (!(condition)) {                                                                  \
            std::fprintf(stderr, "Invariant broken at %s:%d: %s\n  %s\n", __FILE__, __LINE__, \
                         #condition, QString(what).toUtf8().constData());                    \
            std::abort();                                                                    \
        }                                                                                    \
    } while (false)

inline QString fuzzShow(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toPercentEncoding(" =[];"));
}
