// View > Rules: the rules as their text (the rules file's format, one rule a line), edited in a
// dialog. OK is refused, with the reason shown in the dialog, while a line is not understood or a
// pattern cannot be compiled: the window's rules change only to rules that work.
#pragma once

#include <windows.h>

#include <vector>

#include "line_rules.h"

// Shows the dialog over owner, starting from *rules. True when the user chose OK: *rules and
// *compiled then hold the new rules. Rules that cost more a line, timed on sample, than the
// window keeps up with are named, and a second OK uses them all the same.
bool EditRules(HWND owner, HINSTANCE instance, const LineEncoding& encoding,
               const std::vector<StoredLine>& sample, std::vector<Rule>* rules, RuleSet* compiled);

// Reads and compiles the rules text; false with *error (from the rules file's parser or from
// compiling) and nothing changed.
bool CompileRuleText(const std::string& utf8, const LineEncoding& encoding, std::vector<Rule>* rules,
                     RuleSet* compiled, std::string* error);
