#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "app/ZierbogenApplication.h"

using zb::ZierbogenApplication;

TEST(ZierbogenApplication, EscapedErrorsReadAsGermanMessages) {
    const struct {
        std::exception_ptr error;
        const char* text;
    } cases[] = {
        {std::make_exception_ptr(std::runtime_error("Lesefehler")),
         "Ein unerwarteter Fehler ist aufgetreten: Lesefehler"},
        {std::make_exception_ptr(std::bad_alloc()),
         "Nicht genug Speicher für diese Aktion. Die Aktion wurde abgebrochen."},
        {std::make_exception_ptr(42), "Ein unerwarteter Fehler ist aufgetreten."},
    };
    for (const auto& c : cases) EXPECT_EQ(ZierbogenApplication::ErrorText(c.error), QString::fromUtf8(c.text));
}
