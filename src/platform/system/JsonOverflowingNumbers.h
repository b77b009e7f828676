#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// What one pass over a JSON text finds before the parser is given it.
struct JsonScan {
    // Somewhere more arrays and objects lie inside one another than the scan allows. The scan
    // stops there: such a text is refused before the parser builds any of it.
    bool tooDeep = false;
    // JSON allows numbers of any size, but the parser refuses a whole document over one number
    // that no double can hold (1e400). This is the text with each such number replaced by null, so
    // that only the value that held it is lost; nothing when it has none. Text inside strings is
    // never touched, and a document that is not JSON stays not JSON.
    std::optional<std::string> inRange;
};

// Scans `json` once, in time linear in its length (a depth limit given to the parser costs time
// that grows with the square of the number of arrays and objects).
JsonScan scanJson(std::string_view json, int maximumNesting);

} // namespace platform
