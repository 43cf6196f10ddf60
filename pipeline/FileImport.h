// Reads a text or CSV file into the view's lines by the import rules.
#pragma once

#include <QString>
#include <functional>

#include "Import.h"
#include "MemoLines.h"

namespace mosaiko {

// Empties `memo` and fills it from the file at `path`. `keepGoing` is asked
// before every line, the first included; it is where the caller lets the
// window breathe and looks at its cancel request. A file that cannot be
// opened or read gives ReadError with `memo` empty and a detail naming the
// file and the system's reason. Auto reads UTF-8 and UTF-16 files as such (Utf8Input.h).
// `csv` reads spreadsheet records (ImportLines).
ImportResult ImportFile(const QString& path, MemoLines& memo, const std::function<bool()>& keepGoing,
                        EncodingChoice choice = EncodingChoice::Auto, bool csv = false);

}  // namespace mosaiko
