#pragma once

namespace tess::platform {

// The upper case Windows gives one UTF-16 code unit of a file name: the table NTFS keeps on every
// volume and folds names through to compare them, one code unit at a time. "ä" gives "Ä", "ⓐ"
// gives "Ⓐ"; "ß", which has no single capital, stays as it is. Letters whose capital has a
// small letter of its own ("ς", "ı", "ſ", "µ") and the title-case letters ("ǅ") keep their case;
// the Greek letters with iota subscript ("ᾀ") fold to their title-case forms ("ᾈ"). Surrogates
// are never folded, so no letter beyond the Basic Multilingual Plane is.
char16_t upperCaseUnit(char16_t unit);

} // namespace tess::platform
