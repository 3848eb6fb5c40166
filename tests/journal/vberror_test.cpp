// Errors raised again from the routine that caught them.
#include "journal/VbError.h"

#include <gtest/gtest.h>

namespace {

template <class Thrown>
VbError raisedFrom(const Thrown& thrown)
{
    try {
        try {
            throw thrown;
        } catch (...) {
            RaiseFrom(QStringLiteral("Rotina"));
        }
    } catch (const VbError& e) {
        return e;
    }
    ADD_FAILURE() << "no VbError raised";
    return VbError(0, QString());
}

}  // namespace

TEST(RaiseFrom, KeepsTheNumberOfAnErrorAndNamesTheNewSource)
{
    const VbError e = raisedFrom(VbError(vberr::Overflow, QStringLiteral("Overflow"), QStringLiteral("Interna")));
    EXPECT_EQ(e.number(), vberr::Overflow);
    EXPECT_EQ(e.description(), "Overflow");
    EXPECT_EQ(e.source(), "Rotina");
}

TEST(RaiseFrom, TurnsStandardExceptionsIntoNumberedErrors)
{
    const VbError memory = raisedFrom(std::bad_alloc());
    EXPECT_EQ(memory.number(), vberr::OutOfMemory);
    EXPECT_EQ(memory.description(), "Out of memory");
    EXPECT_EQ(memory.source(), "Rotina");

    const VbError other = raisedFrom(std::runtime_error("arquivo truncado"));
    EXPECT_EQ(other.number(), vberr::Internal);
    EXPECT_EQ(other.description(), "arquivo truncado");
}

TEST(RaiseFrom, LetsOtherKindsGoOnUnchanged)
{
    try {
        try {
            throw 42;
        } catch (...) {
            RaiseFrom(QStringLiteral("Rotina"));
        }
    } catch (int n) {
        EXPECT_EQ(n, 42);
        return;
    } catch (...) {
    }
    ADD_FAILURE() << "the int did not come through";
}
