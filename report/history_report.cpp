#include "report/history_report.h"

#include <cstdint>
#include <string_view>

#include "engine/formats.h"
#include "engine/number_format.h"

const char* const ProductSite = "https://vornik.example.org";

double ReportPriceLookup(TariffArray& tariffs, const std::string& name, bool outbound)
{
    int i = tariffs.FindOrAdd(name);
    if (!i)
        return 0;  // a full table: no entry beyond it
    return outbound ? tariffs[i].PriceOut : tariffs[i].PriceIn;
}

namespace {

// The page's fixed text. Every space, tab and line end belongs to the page as users know it.
const char* const CrLf = "\r\n";

std::string HeadBlock(const std::string& title)
{
    const std::string site = ProductSite;
    std::string s;
    s += "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
         "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\r\n";
    s += "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"ru\" lang=\"ru\"> \r\n";
    s += "<head><title>Vornik V1.5  Отчёт по соединению - " + title + "</title> \r\n";
    s += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\" />\r\n";
    s += "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\" />\r\n";
    s += "<style type=\"text/css\"> <!--\r\n";
    s += "a:link {color:#FF9933; text-decoration:none;} \r\n";
    s += "a:hover { text-decoration:underline; color: #FF9933;} \r\n";
    s += "a:visited {\tcolor: #FF9933;} \r\n";
    s += "a:active {\tcolor: #FF9933;} \r\n";
    s += "body {\tbackground-color: #FAFAFA;} --> </style></head> \r\n";
    s += "<body> <h2 align=\"center\"><strong>Vornik V1.5  Отчёт по соединению - " + title + "</strong></h2> \r\n";
    s += "<table width=\"100%\" border=\"0\" cellpadding=\"0\" cellspacing=\"5\">  <tr bgcolor=\"#F6F6F6\"> \r\n";
    s += "<td colspan=\"2\"><div align=\"center\"><a href=\"" + site +
         "\" target=\"_blank\"><img src=\"logo.png\" alt=\"Перейти на Web сайт разработчика\" width=\"380\" "
         "height=\"45\" border=\"0\"></a></div></td>\r\n";
    s += "  </tr> <tr> <td width=\"125\" align=\"center\" valign=\"middle\">\r\n";
    s += "  <strong>Реклама</strong>  <script language=javascript><!--\r\n";
    s += "document.write('<iframe src=\"" + site +
         "/php/vrn15/vrn15_hist.php?pofig=1&bg=C0C0C0\" width=125 height=600  marginborder=0 marginwidth=0 "
         "marginheight=0 scrolling=no></iframe>');\r\n";
    s += "--></script>\r\n";
    s += "\t&nbsp;</td>\r\n";
    s += "    <td width=\"88%\" align=\"center\" valign=\"top\"> <table width=\"100%\"  border=\"0\" cellspacing=\"5\">\r\n";
    s += " <tr> <td rowspan=\"2\" bgcolor=\"#F6F6F6\"><div align=\"center\">Дата</div></td>\r\n";
    s += " <td rowspan=\"2\" bgcolor=\"#F6F6F6\"><div align=\"center\">Принято</div></td> <td rowspan=\"2\" "
         "bgcolor=\"#F6F6F6\"><div align=\"center\">Отправлено</div></td> \r\n";
    s += " <td rowspan=\"2\" bgcolor=\"#F6F6F6\"><div align=\"center\">Всего</div></td> <td colspan=\"2\" "
         "bgcolor=\"#F6F6F6\"><div align=\"center\">Цена трафика </div></td>\r\n";
    s += " <td rowspan=\"2\" bgcolor=\"#F6F6F6\"><div align=\"center\">Итого</div></td> </tr> <tr>\r\n";
    s += " <td bgcolor=\"#F6F6F6\"><div align=\"center\">Входящий Мб </div></td> <td bgcolor=\"#F6F6F6\"><div "
         "align=\"center\">Исходящий Мб </div></td> </tr>\r\n";
    return s;
}

// Pieces of a day row, which is one line of seven cells.
const char* const RowStart = "<tr bgcolor=\"#FFFFCC\">";
const char* const NarrowCell = "      <td width=\"10%\"><div align=\"center\"><span class=\"style2\"><span class=\"style2\">";
const char* const WideCell = "      <td width=\"15%\"><div align=\"center\"><span class=\"style2\"><span class=\"style2\">";
const char* const CostCell = "      <td><div align=\"center\"><span class=\"style2\"><span class=\"style2\">";
const char* const CellEnd = "</span></span></div></td>";
// The price cells close only one of their two spans, as the page always has.
const char* const PriceCellEnd = " руб </span></div></td>";
const char* const RowEnd = "    </tr>\r\n";

// The month's cost in the cost column, then an empty row.
std::string MonthLine(const std::string& money)
{
    return "<tr><td><div align=\"center\"></div></td> <td><div align=\"center\"></div></td><td><div "
           "align=\"center\"></div></td><td><div align=\"center\"></div></td> <td><div align=\"center\"></div></td> "
           "<td><div align=\"center\"></div></td>\r\n"
           "<td bgcolor=\"#FFFFCC\"><div align=\"center\"><strong>" +
           money +
           "</strong> </div></td></tr>\r\n"
           "<tr> <td><div align=\"center\"></div></td> <td><div align=\"center\"></div></td> <td><div "
           "align=\"center\"></div></td>\r\n"
           "<td><div align=\"center\"></div></td>  <td><div align=\"center\"></div></td>   <td><div "
           "align=\"center\"></div></td> <td><div align=\"center\"></div></td></tr>\r\n";
}

// The same for the oldest month listed (and for an empty history), with other spacing.
std::string ClosingMonthLine(const std::string& money)
{
    return "<tr><td><div align=\"center\"></div></td> <td><div align=\"center\"></div></td><td><div "
           "align=\"center\"></div></td><td><div align=\"center\"></div></td>\r\n"
           "<td><div align=\"center\"></div></td> <td><div align=\"center\"></div></td> <td bgcolor=\"#FFFFCC\"><div "
           "align=\"center\"><strong>" +
           money +
           "</strong></div></td></tr>\r\n"
           "<tr> <td><div align=\"center\"></div></td> <td><div align=\"center\"></div></td> <td><div "
           "align=\"center\"></div></td>  <td><div align=\"center\"></div></td>\r\n"
           "  <td><div align=\"center\"></div></td>   <td><div align=\"center\"></div></td> <td><div "
           "align=\"center\"></div></td></tr>\r\n";
}

std::string TotalsBlock(const std::string& inbound, const std::string& outbound, const std::string& both,
                        const std::string& money)
{
    const std::string site = ProductSite;
    auto cell = [](const std::string& text) {
        return "      <td><div align=\"center\"><strong>" + text + "</strong></div></td>\r\n";
    };
    return std::string("<tr bgcolor=\"#FFFFCC\">\r\n") + cell("ИТОГО") + cell(inbound) + cell(outbound) + cell(both) +
           cell("-") + cell("-") + cell(money) + "    </tr>     </table> \r\n" +
           "  </td> </tr> <tr> <td colspan=\"2\"><div align=\"center\"><ul><li><a href=\"" + site +
           "/?module=forum&action=topic&id=5\" target=\"_blank\">Обсудить программу на форуме</a></li>\r\n" +
           " <li><a href=\"" + site + "/?module=wmail\" target=\"_blank\">Написать автору (похвалить / поругать) </a></li>\r\n" +
           " <li><a href=\"" + site +
           "/?module=sms\" target=\"_blank\">Отблагодарить автора </a></li> </ul> </div></td> </tr> </table>\r\n" +
           "</body>\r\n" + "</html>";
}

}  // namespace

std::string HtmlEscaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

namespace {
// Unicode of the bytes 0x80..0xBF of Windows-1251 (0x98 has none); 0xC0..0xFF are U+0410..U+044F.
const char32_t Upper1251[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0,      0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

// The byte of the character in Windows-1251, or 0 when it has none.
unsigned char Byte1251(char32_t c)
{
    if (c > 0 && c < 0x80)
        return static_cast<unsigned char>(c);
    if (c >= 0x0410 && c <= 0x044F)
        return static_cast<unsigned char>(0xC0 + (c - 0x0410));
    for (int i = 0; i < 64; ++i)
        if (Upper1251[i] == c && c != 0)
            return static_cast<unsigned char>(0x80 + i);
    return 0;
}
}  // namespace

std::u32string FromWindows1251(std::string_view bytes)
{
    std::u32string out;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += b < 0x80 ? char32_t{b} : b >= 0xC0 ? char32_t{0x0410u + (b - 0xC0u)} : Upper1251[b - 0x80];
    }
    return out;
}

std::string Utf8(const std::u32string& text)
{
    std::string out;
    for (char32_t c : text) {
        if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000))
            c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string UnicodeToPage(const std::u32string& text)
{
    std::string out;
    for (char32_t c : text) {
        if (c == '&' || c == '<' || c == '>' || c == '"')
            out += HtmlEscaped(std::string(1, static_cast<char>(c)));
        else if (unsigned char b = Byte1251(c))
            out += static_cast<char>(b);
        else
            out += "&#" + std::to_string(static_cast<uint32_t>(c)) + ";";
    }
    return out;
}

namespace {

// Walks one connection's records newest first, summing the records of a day into one row.
class HistoryPageWriter {
public:
    HistoryPageWriter(TariffArray& tariffs, const std::string& connection, char decimalSeparator,
                      const PageTextOf& pageText)
        : tariffs_(tariffs), connection_(connection), sep_(decimalSeparator), pageText_(pageText)
    {
    }

    std::string Write(const DayRecordArray& history)
    {
        // The name is taken before any price lookup, so an entry the lookup appends cannot change it.
        page_ = HeadBlock(pageText_(DisplayName(tariffs_, connection_, false)));
        page_ += CrLf;
        // From the last record down: the table is filled in time order, so the newest day comes first.
        for (int32_t i = history.HistoryCount(); i >= 1; --i) {
            const DayRecord& record = history[i];
            if (record.Name != connection_)
                continue;  // other connections' records do not interrupt the pending day
            if (record.Day != pendingDay_ || record.Month != pendingMonth_ || record.Year != pendingYear_)
                CloseDay();
            pendingIn_ += record.InOctets;
            pendingOut_ += record.OutOctets;
            totalInKb_ += record.InOctets / 1024.0;
            totalOutKb_ += record.OutOctets / 1024.0;
            pendingDay_ = record.Day;
            pendingMonth_ = record.Month;
            pendingYear_ = record.Year;
        }
        CloseDay();
        page_ += ClosingMonthLine(FormatFixed(monthMoney_, 2, sep_));
        page_ += TotalsBlock(TrafficTextKb(totalInKb_, 0, sep_), TrafficTextKb(totalOutKb_, 0, sep_),
                             TrafficTextKb(totalInKb_, totalOutKb_, sep_), FormatFixed(totalMoney_, 2, sep_));
        page_ += CrLf;
        return page_;
    }

private:
    // A month line goes before the first row of an older month. Only month numbers are compared.
    void CloseDay()
    {
        if (previousMonth_ != 0 && previousMonth_ != pendingMonth_) {
            page_ += MonthLine(FormatFixed(monthMoney_, 2, sep_));
            monthMoney_ = 0;
        }
        if (pendingDay_ > 0)
            WriteDayRow();
        previousMonth_ = pendingMonth_;
        pendingIn_ = 0;
        pendingOut_ = 0;
    }

    void WriteDayRow()
    {
        double priceIn = ReportPriceLookup(tariffs_, connection_, false);
        double priceOut = ReportPriceLookup(tariffs_, connection_, true);
        std::string date = std::to_string(pendingDay_) + "." + std::to_string(pendingMonth_) + "." +
                           std::to_string(pendingYear_);
        page_ += RowStart;
        page_ += NarrowCell + date + CellEnd;
        page_ += WideCell + TrafficText(pendingIn_, 0, sep_) + CellEnd;
        page_ += WideCell + TrafficText(pendingOut_, 0, sep_) + CellEnd;
        page_ += WideCell + TrafficText(pendingIn_, pendingOut_, sep_) + CellEnd;
        page_ += NarrowCell + FormatGeneral(priceIn, sep_) + PriceCellEnd;
        page_ += NarrowCell + FormatGeneral(priceOut, sep_) + PriceCellEnd;
        page_ += CostCell +
                 CostText(priceIn * static_cast<double>(pendingIn_), priceOut * static_cast<double>(pendingOut_), sep_) +
                 CellEnd;
        page_ += RowEnd;
        page_ += CrLf;
        double cost = priceIn * (static_cast<double>(pendingIn_) / 1048576) +
                      priceOut * (static_cast<double>(pendingOut_) / 1048576);
        monthMoney_ += cost;
        totalMoney_ += cost;
    }

    TariffArray& tariffs_;
    const std::string& connection_;
    const char sep_;
    const PageTextOf& pageText_;
    std::string page_;

    int32_t pendingDay_ = -1;  // -1: no day yet
    int32_t pendingMonth_ = 0;
    int32_t pendingYear_ = 0;
    uint64_t pendingIn_ = 0;  // 64-bit: a day's segments may add up beyond 4 GiB
    uint64_t pendingOut_ = 0;
    int32_t previousMonth_ = 0;  // month of the day written before the pending one; 0: none yet
    double monthMoney_ = 0;
    double totalMoney_ = 0;
    // Exact in double: each addend is a 32-bit count over 1024, so sums stay exact up to 2^43 KB.
    double totalInKb_ = 0;
    double totalOutKb_ = 0;
};

}  // namespace

std::string HistoryReportPage(const DayRecordArray& history, TariffArray& tariffs, const std::string& connection,
                              char decimalSeparator, const PageTextOf& pageText)
{
    return HistoryPageWriter(tariffs, connection, decimalSeparator, pageText).Write(history);
}

std::string ArchiveFileName(const std::string& shortDate, const std::function<bool(const std::string&)>& exists)
{
    constexpr std::string_view forbidden = "\\/:*?\"<>|";
    std::string date = shortDate;
    for (char& c : date)
        if (static_cast<unsigned char>(c) < 0x20 || forbidden.find(c) != std::string_view::npos)
            c = '-';
    std::string name = "arxiv_" + date + "_history.txt";
    for (int n = 2; exists(name); ++n)
        name = "arxiv_" + date + "_" + std::to_string(n) + "_history.txt";
    return name;
}
