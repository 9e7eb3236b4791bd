#pragma once
// Every command group of kovrelctl, one file each. A new group adds its function here and a call
// in main.cpp.

#include "command_line.h"

namespace kovrel::kovrelctl {

void AddInfoCommand(CommandLine& cli);    // info_command.cpp
void AddProfileCommand(CommandLine& cli); // profile_command.cpp
void AddBootCommand(CommandLine& cli);    // boot_command.cpp
void AddVirtualCommand(CommandLine& cli); // virtual_command.cpp
void AddLightingCommand(CommandLine& cli); // lighting_command.cpp
void AddColoursCommand(CommandLine& cli);  // colours_command.cpp
// Configuration: config_transfer_command.cpp, config_show_command.cpp, config_set_command.cpp,
// config_macro_command.cpp, config_names_command.cpp.
void AddConfigTransferCommands(CommandLine& cli);
void AddConfigShowCommand(CommandLine& cli);
void AddConfigSetCommand(CommandLine& cli);
void AddConfigMacroCommands(CommandLine& cli);
void AddConfigNamesCommands(CommandLine& cli);

} // namespace kovrel::kovrelctl
