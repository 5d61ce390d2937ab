#pragma once
// The Chinese texts of the toolkit's strings that the console can show (editor errors, buttons,
// menus, the grid's dialogs), replaced by name through the toolkit's resource-string repository
// once its units have registered them.
#include <string>
#include <utility>
#include <vector>

// Name and Chinese text of every replaced string.
const std::vector<std::pair<std::string, std::string>>& ToolkitChineseTexts();
// Replaces the registered strings by the table above; names no product registered are skipped.
void TranslateToolkitTexts();
