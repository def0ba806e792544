#include "cli/Arguments.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "cli/Console.h"

namespace zb::cli {
namespace {

bool AllDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void WrongCall(const std::string& command, const std::string& why) {
    std::fprintf(Err(), "zierbogen %s: %s\n", command.c_str(), why.c_str());
}

} // namespace

bool ParseArguments(const std::string& command, const std::vector<std::string>& args,
                    const std::vector<OptionSpec>& specs, Arguments& out) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (optionsEnded || a.size() < 2 || a[0] != '-') {
            out.operands.push_back(a);
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        if (a == "-h" || a == "--help") {
            out.help = true;
            continue;
        }
        std::string name = a;
        std::string value;
        bool inlineValue = false;
        if (const size_t eq = a.find('='); a.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = a.substr(0, eq);
            value = a.substr(eq + 1);
            inlineValue = true;
        }
        const auto spec = std::find_if(specs.begin(), specs.end(), [&](const OptionSpec& s) { return name == s.name; });
        if (spec == specs.end()) {
            WrongCall(command, "unbekannte Option „" + name + "“ (zierbogen " + command + " --help).");
            return false;
        }
        if (!spec->takesValue) {
            if (inlineValue) {
                WrongCall(command, "die Option „" + name + "“ nimmt keinen Wert.");
                return false;
            }
            out.flags.insert(name);
            continue;
        }
        if (!inlineValue) {
            if (i + 1 >= args.size()) {
                WrongCall(command, "zur Option „" + name + "“ fehlt der Wert.");
                return false;
            }
            value = args[++i];
        }
        out.values[name] = value;
    }
    return true;
}

bool ParseWhole(const std::string& text, int64_t min, int64_t max, int64_t& out) {
    if (!AllDigits(text) || text.size() > 18) return false;
    const int64_t v = std::strtoll(text.c_str(), nullptr, 10);
    if (v < min || v > max) return false;
    out = v;
    return true;
}

bool ParseDecimal(const std::string& text, double min, double max, double& out) {
    const size_t sep = text.find_first_of(".,");
    const std::string whole = text.substr(0, sep);
    const std::string fraction = sep == std::string::npos ? std::string("0") : text.substr(sep + 1);
    if (!AllDigits(whole) || !AllDigits(fraction) || whole.size() > 18) return false;
    const double v = std::strtod((whole + "." + fraction).c_str(), nullptr);
    if (!std::isfinite(v) || v < min || v > max) return false;
    out = v;
    return true;
}

bool WholeOption(const std::string& command, const Arguments& a, const std::string& option, int64_t min,
                 int64_t max, int64_t& out) {
    const auto it = a.values.find(option);
    if (it == a.values.end()) return true;
    if (ParseWhole(it->second, min, max, out)) return true;
    WrongCall(command, "ungültiger Wert „" + it->second + "“ für " + option + ": eine ganze Zahl von " +
                           std::to_string(min) + " bis " + std::to_string(max) + " ist nötig.");
    return false;
}

bool DecimalOption(const std::string& command, const Arguments& a, const std::string& option, double min,
                   double max, double& out) {
    const auto it = a.values.find(option);
    if (it == a.values.end()) return true;
    if (ParseDecimal(it->second, min, max, out)) return true;
    WrongCall(command, "ungültiger Wert „" + it->second + "“ für " + option + ": eine Zahl von " +
                           std::to_string(int64_t(min)) + " bis " + std::to_string(int64_t(max)) + " ist nötig.");
    return false;
}

} // namespace zb::cli
