// kovrelctl: every keyboard operation of the application, scriptable.

#include "command_groups.h"

#include <csignal>

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    kovrel::kovrelctl::CommandLine cli;
    kovrel::kovrelctl::AddInfoCommand(cli);
    kovrel::kovrelctl::AddProfileCommand(cli);
    kovrel::kovrelctl::AddBootCommand(cli);
    kovrel::kovrelctl::AddVirtualCommand(cli);
    kovrel::kovrelctl::AddLightingCommand(cli);
    kovrel::kovrelctl::AddColoursCommand(cli);
    kovrel::kovrelctl::AddConfigTransferCommands(cli);
    kovrel::kovrelctl::AddConfigShowCommand(cli);
    kovrel::kovrelctl::AddConfigSetCommand(cli);
    kovrel::kovrelctl::AddConfigMacroCommands(cli);
    kovrel::kovrelctl::AddConfigNamesCommands(cli);
    return cli.Run(argc, argv);
}
