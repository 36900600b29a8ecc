// dbtool: look into, check and repair the program's tables from a shell.
#include <exception>
#include <iostream>
#include <string>

#include "platform/table/errors.h"
#include "platform/table/expr.h"
#include "tools/dbtool/commands.h"

namespace {

const char* const kUsage =
    "usage: dbtool info T.dbf\n"
    "       dbtool dump T.dbf [--index X.ntx] [--deleted]\n"
    "       dbtool create T.dbf \"NAME,C,10,0,PRICE,N,12,2,...\"\n"
    "       dbtool append T.dbf FILE.csv [X.ntx ...]   (first line: field names; UTF-8;\n"
    "                                   the indexes named are kept up to date)\n"
    "       dbtool index T.dbf X.ntx \"KEY EXPRESSION\"\n"
    "       dbtool seek T.dbf X.ntx KEY        (exit 1 when no record has the key)\n"
    "       dbtool check T.dbf [X.ntx ...]     (exit 1 on the first problem)\n";

int run(const std::string& command, const dbtool::Args& args) {
    if (command == "info") return dbtool::info(args, std::cout);
    if (command == "dump") return dbtool::dump(args, std::cout);
    if (command == "create") return dbtool::create(args, std::cout);
    if (command == "append") return dbtool::append(args, std::cout);
    if (command == "index") return dbtool::index(args, std::cout);
    if (command == "seek") return dbtool::seek(args, std::cout);
    if (command == "check") return dbtool::check(args, std::cout);
    throw dbtool::UsageError("unknown command \"" + command + "\"");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h") {
        std::cerr << kUsage;
        return argc < 2 ? dbtool::kExitUsage : 0;
    }
    try {
        return run(argv[1], dbtool::Args(argv + 2, argv + argc));
    } catch (const dbtool::UsageError& e) {
        std::cerr << "dbtool: " << e.what() << "\n" << kUsage;
        return dbtool::kExitUsage;
    } catch (const platform::table::CorruptFile& e) {
        std::cerr << "dbtool: damaged file: " << e.what() << "\n";
    } catch (const platform::table::OpenConflict& e) {
        std::cerr << "dbtool: in use by another program: " << e.what() << "\n";
    } catch (const std::exception& e) {
        std::cerr << "dbtool: " << e.what() << "\n";
    } catch (...) {
        std::cerr << "dbtool: unexpected failure\n";
    }
    return dbtool::kExitError;
}
