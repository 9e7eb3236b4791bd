// kovrelctl export FILE / import FILE: the keyboard's whole configuration to and from a
// configuration file.

#include "app_reload.h"
#include "command_groups.h"
#include "config_session.h"

#include "profiles/config_file.h"

#include <filesystem>
#include <memory>
#include <string>

namespace kovrel::kovrelctl {
namespace {

struct TransferOptions {
    std::string file;
};

int RunExport(const TransferOptions& options) {
    ConfigSession session;
    if (const int rc = session.Open(); rc != kExitOk) {
        return rc;
    }
    if (!profiles::ExportKeyboardToFile(options.file, session.Access())) {
        return Fail(kExitFailed, "cannot export to " + options.file +
                                     ": reading the keyboard or writing the file failed; check "
                                     "the folder and the keyboard and try again");
    }
    return kExitOk;
}

int RunImport(const TransferOptions& options) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(options.file, error)) {
        return Fail(kExitFailed, "cannot find the file " + options.file + "; check the path");
    }
    ConfigSession session;
    if (const int rc = session.Open(); rc != kExitOk) {
        return rc;
    }
    const profiles::ImportResult result =
        profiles::ImportConfigurationFile(options.file, session.Access());
    const std::string said = session.Messages().Take();
    if (!result.loaded) {
        return Fail(kExitFailed, said.empty() ? "cannot import " + options.file : said);
    }
    if (result.applied != 1) {
        return Fail(kExitFailed, said.empty() ? "the file was read but writing it to the keyboard "
                                                "failed; run the import again"
                                              : said);
    }
    if (!said.empty()) {
        Fail(kExitOk, said); // a note: the macro names did not fit
    }
    return kExitOk;
}

} // namespace

void AddConfigTransferCommands(CommandLine& cli) {
    auto exportOptions = std::make_shared<TransferOptions>();
    auto* exportCommand = cli.App().add_subcommand(
        "export", "Write the keyboard's configuration (three profiles and the macros) to a "
                  "configuration file (.kvl).");
    exportCommand->add_option("FILE", exportOptions->file, "The file to write")->required();
    cli.OnRun(exportCommand, [exportOptions] { return RunExport(*exportOptions); });

    auto importOptions = std::make_shared<TransferOptions>();
    auto* importCommand = cli.App().add_subcommand(
        "import", "Check a configuration file (.kvl), load it and write all three profiles and "
                  "its macros to the keyboard.");
    importCommand->add_option("FILE", importOptions->file, "The file to import")->required();
    cli.OnRun(importCommand,
              [importOptions] { return NotifiedOnSuccess(RunImport(*importOptions)); });
}

} // namespace kovrel::kovrelctl
