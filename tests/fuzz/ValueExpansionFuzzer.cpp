// Values through date macros and environment variables: the first line of the input is the
// value, the second the text of the variable V (which may refer to itself or to others).

#include "FuzzInput.h"
#include "script/ValueExpansion.h"
#include "support/FixedEnvironment.h"
#include "support/ManualClock.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = brisko::fuzz::inputFields(brisko::fuzz::inputText(data, size), 2);
    const brisko::test::ManualClock clock{brisko::test::kFifthOfMarch2024};
    const brisko::test::FixedEnvironment environment(
        {{"V", std::string(fields[1])}, {"HOME", "/home/fuzz"}, {"EMPTY", ""}, {"P", "%"}});

    const std::string expanded = brisko::script::expandValue(fields[0], clock, environment);
    // Every reference is replaced once: the result grows by the variables' texts at most.
    if (expanded.size() > fields[0].size() * (1 + fields[1].size() + 16))
        std::abort();
    brisko::script::extractDelimited(fields[0], '{', '}');
    brisko::script::extractDelimited(fields[0], '%', '%');
    brisko::script::expandDateMacro(fields[0], clock);
    return 0;
}
