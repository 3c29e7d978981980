#pragma once

namespace brisko {

// The two sides of a session, and of the window's folder panes.
enum class Side { Left, Right };

} // namespace brisko
