#pragma once

namespace tess::platform {

// The Unicode simple upper-case mapping of one code point (one code point to one, as
// UnicodeData.txt gives it): "ǆ" gives "Ǆ", "ⓐ" gives "Ⓐ", and "ß", which has no single capital,
// stays as it is. Code points without a capital, and values that are not code points, come back
// unchanged.
char32_t simpleUpperCase(char32_t c);

} // namespace tess::platform
