#pragma once

namespace brisko {

// The answer codes of the operator's questions; callers compare them by number.
enum class DialogAnswer { Ok = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

const char* answerName(DialogAnswer answer);

} // namespace brisko
