#pragma once
// The word lists of the SQL dialects, comma-separated, as the SQL lexer
// loads them into its keyword chains.

#include <string_view>

namespace ostrel::sqlwords {

extern const std::string_view kStandardKeywords;
extern const std::string_view kInterbaseKeywords;
extern const std::string_view kMSSQL7Keywords;
extern const std::string_view kMSSQL7Types;
extern const std::string_view kMSSQL7Functions;
extern const std::string_view kMySQLKeywords;
extern const std::string_view kMySQLTypes;
extern const std::string_view kMySQLFunctions;
extern const std::string_view kOracleKeywords;
extern const std::string_view kOracleTypes;
extern const std::string_view kOracleExceptions;
extern const std::string_view kOracleFunctions;
extern const std::string_view kOraclePackages;
extern const std::string_view kOraclePLSQL;
extern const std::string_view kOracleSQLPlus;
extern const std::string_view kSybaseKeywords;
extern const std::string_view kIngresTypes;
extern const std::string_view kIngresKeywords;
extern const std::string_view kIngresFunctions;
extern const std::string_view kMSSQL2KKeywords;
extern const std::string_view kMSSQL2KTypes;
extern const std::string_view kMSSQL2KFunctions;

}  // namespace ostrel::sqlwords
