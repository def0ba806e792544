#pragma once
// The command line of one subcommand: operands, options with values, flags.
// Every option takes its value as "--name value" or "--name=value"; "-h" or
// "--help" anywhere asks for the command's help; "--" ends the options.
// Numbers parse the same way for every option: decimal digits only.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace zb::cli {

struct OptionSpec {
    const char* name;  // "--dpi", "-o"
    bool takesValue;
};

struct Arguments {
    std::vector<std::string> operands;
    std::map<std::string, std::string> values; // the last value of each option
    std::set<std::string> flags;
    bool help = false;

    bool Has(const std::string& option) const { return values.count(option) || flags.count(option); }
};

// Splits `args` by `specs`. On a wrong call prints "zierbogen COMMAND: why"
// and returns false.
bool ParseArguments(const std::string& command, const std::vector<std::string>& args,
                    const std::vector<OptionSpec>& specs, Arguments& out);

// A whole number min ... max in decimal digits ("150", not "150.5", "0x96" or "1e3").
bool ParseWhole(const std::string& text, int64_t min, int64_t max, int64_t& out);
// A decimal number min ... max: digits with an optional fraction after "." or ",".
bool ParseDecimal(const std::string& text, double min, double max, double& out);

// Reads the value of `option` (if given) as a whole number; prints the reason
// and returns false when it is not one in range.
bool WholeOption(const std::string& command, const Arguments& a, const std::string& option, int64_t min,
                 int64_t max, int64_t& out);
bool DecimalOption(const std::string& command, const Arguments& a, const std::string& option, double min,
                   double max, double& out);

} // namespace zb::cli
