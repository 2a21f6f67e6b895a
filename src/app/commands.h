#pragma once

#include "command.h"

#include <memory>

namespace CommandLine {

std::unique_ptr<Command> importCommand();
std::unique_ptr<Command> renderCommand();
std::unique_ptr<Command> exportCommand();
std::unique_ptr<Command> turntableCommand();
std::unique_ptr<Command> infoCommand();

} // namespace CommandLine
