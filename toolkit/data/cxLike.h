#pragma once
// cxLike: LIKE matching with caller-chosen wildcards, and the kind of test a simple pattern
// expresses (begins with, ends with, contains).
#include <string>
#include <string_view>

namespace cx {

// The unit's own enumeration; the operator class of the same name belongs to cxFilter, so the
// type is qualified (cxLike::TcxFilterLikeOperator) while its values are used plainly.
namespace cxLike {
enum TcxFilterLikeOperator { floLike, floBeginsWith, floEndsWith, floContains };
}
using cxLike::floLike;
using cxLike::floBeginsWith;
using cxLike::floEndsWith;
using cxLike::floContains;

// Whether text matches pattern: percent stands for any run of characters (none included),
// underscore for exactly one character; every other character must equal the text's, case
// included. Characters are UTF-8 sequences, so underscore takes a whole character.
bool LikeStr(std::string_view text, std::string_view pattern, char percent = '%', char underscore = '_');
// The same with an escape character (0: none); an escaped wildcard is an ordinary character and
// an escape at the very end of the pattern is ignored.
bool LikeMatch(std::string_view text, std::string_view pattern, char escape, char underscore, char percent);
// Collapses percent runs and strips a leading and/or trailing percent, telling which test is left.
cxLike::TcxFilterLikeOperator LikeOperatorByPattern(std::string& pattern, char percent = '%');

} // namespace cx
