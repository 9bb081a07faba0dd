#pragma once
// The HTML history report of one connection ("otchet\history.htm") and the archive name of the
// history clearing. The page is built here as bytes; the shell writes it and opens it.
#include <functional>
#include <string>
#include <string_view>

#include "engine/day_records.h"

// The product site root, without a trailing slash: the page's logo, advertisement frame and links.
extern const char* const ProductSite;

// The report's own tariff lookup: the first entry named exactly `name` gives PriceIn (outbound
// false) or PriceOut (true). An absent name is appended with both prices 0 and the name as its
// alias, so a report never blanks the name the panel shows; a full table appends nothing and gives 0.
double ReportPriceLookup(TariffArray& tariffs, const std::string& name, bool outbound);

// How the page spells a name or alias (user text, in the system's ANSI code page): HTML-escaped,
// and in Windows-1251 like the rest of the page. The default keeps the bytes, right where the
// ANSI code page is 1251; the Windows layer gives UnicodeToPage of the name's characters.
using PageTextOf = std::function<std::string(const std::string& userText)>;
std::string HtmlEscaped(const std::string& text);
// Windows-1251 bytes, with every character 1251 has no byte for as a numeric character
// reference ("&#20013;"), and & < > " escaped.
std::string UnicodeToPage(const std::u32string& text);

// Windows-1251 bytes as characters (0x98, which has none, as U+0000), and characters as UTF-8
// (U+FFFD for what is no character).
std::u32string FromWindows1251(std::string_view bytes);
std::string Utf8(const std::u32string& text);

// The whole page for `connection`, byte for byte: CR LF line ends, Windows-1251 program text,
// the name or alias in the title and heading as `pageText` gives it. Days are listed newest
// first, with a cost line after each month; the prices are today's prices for every day.
std::string HistoryReportPage(const DayRecordArray& history, TariffArray& tariffs, const std::string& connection,
                              char decimalSeparator, const PageTextOf& pageText = HtmlEscaped);

// "arxiv_" + date + "_history.txt" for the history clearing. Characters a Windows file name cannot
// hold (\ / : * ? " < > | and control characters) become "-"; when `exists(name)` says the name
// is taken, "arxiv_<date>_2_history.txt", "_3", ... is used, so an earlier archive is never replaced.
std::string ArchiveFileName(const std::string& shortDate, const std::function<bool(const std::string&)>& exists);
