// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class AppError;

// Where a language module that cannot be used is reported while the language is chosen (the choice
// goes on as if the file were not there). The application shows it; without a reporter nothing is
// said.
using ModuleDamageReporter = std::function<void(const AppError&)>;
void setModuleDamageReporter(ModuleDamageReporter reporter);
