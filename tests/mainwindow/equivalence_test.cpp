// The day records keep an index of each connection's open records and running sums of the
// records that can no longer change, so that a tick does not scan the history. Here a plain
// model that scans the table as the program's counting rules are worded (every lookup a scan
// of all records, the hidden-connections file read per drawn block) replays the same random
// histories and samples as the real engine: 32-bit and 64-bit tables, rows known by identity,
// wraps, restarts of the counters and of the computer, days that change, the split at the
// 32-bit limit, an upgrade from an earlier version's history and a damaged counters file.
// Every table, drawn text, informer row, click answer and written file must come out the same.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <sstream>

#include "engine/sampling.h"
#include "engine/state_files.h"
#include "mainwindow/panel.h"
#include "tests/engine/fakes.h"

namespace {

namespace fs = std::filesystem;

// ---- The plain model ----

struct PlainRecord {
    uint32_t InOctets = 0, OutOctets = 0;
    uint16_t Year = 0, Month = 0, Day = 0;
    int32_t Segment = 0, BlockTop = 0;
    uint8_t Summed = 0;
    std::string Name;
    Date RecordDate() const { return Date{Year, Month, Day}; }
};

struct PlainPrevious {
    uint64_t in = 0, out = 0, at = 0;
    bool thisRun = false;
};

struct PlainEngine {
    std::vector<PlainRecord> records = std::vector<PlainRecord>(1);  // slot 0 is never used
    TariffArray tariffs;
    Date startDate;
    int32_t segmentCounter = 0;
    std::string showName, firstConnection;
    std::vector<infos> informerRows;
    // Counting.
    std::map<uint64_t, PlainPrevious> previous;  // by row identity
    std::map<uint64_t, std::string> names;       // the description each identity was last seen with
    bool wide = false;
    StartKind start = StartKind::Continue;
    bool sampled = false;
    uint64_t lastSample = 0;
    std::map<std::string, uint64_t> growth;  // octets per connection in the last sample
    std::vector<std::string> sampledNames;   // every description counted in this run
    bool filePresent = false;                // a counters file was there at the start
    std::map<std::string, std::pair<uint32_t, uint32_t>> upgradeBase;  // last records as read
    double seconds = 1;

    int32_t Count() const { return static_cast<int32_t>(records.size()) - 1; }
};

std::vector<std::string> PlainLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        lines.push_back(line);
        line.clear();
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

std::string PlainTrim(const std::string& s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ')
        ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ')
        --e;
    return s.substr(b, e - b);
}

// The field splitter: the digits before the delimiter as a number (0 when none or above the
// limit), and the line loses everything up to and including the delimiter.
uint32_t PlainField(std::string& line, char delimiter, uint64_t limit)
{
    std::size_t end = line.find(delimiter);
    std::string digits;
    for (char c : line.substr(0, end))
        if (c >= '0' && c <= '9')
            digits += c;
    line.erase(0, end == std::string::npos ? line.size() : end + 1);
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.empty() || digits.size() > 10 || std::stoull(digits) > limit)
        return 0;
    return static_cast<uint32_t>(std::stoull(digits));
}

void PlainRead(const std::string& text, PlainEngine& e)
{
    for (std::string line : PlainLines(text)) {
        if (line.find('\t') != std::string::npos) {
            PlainRecord r;
            r.Day = static_cast<uint16_t>(PlainField(line, '.', 2147483647));
            r.Month = static_cast<uint16_t>(PlainField(line, '.', 2147483647));
            r.Year = static_cast<uint16_t>(PlainField(line, '-', 2147483647));
            r.Segment = static_cast<int32_t>(PlainField(line, '\t', 2147483647));
            r.InOctets = PlainField(line, '\t', 4294967295u);
            r.OutOctets = PlainField(line, '\t', 4294967295u);
            r.Name = line;
            e.records.push_back(r);
        } else if (line.find('=') != std::string::npos) {
            std::size_t eq = line.find('=');
            if (PlainTrim(line.substr(0, eq)) == "SHOW")
                e.showName = PlainTrim(line.substr(eq + 1));
        }
    }
}

std::string PlainWrite(const PlainEngine& e, int32_t width)
{
    auto padded = [](uint32_t v) {
        std::string s = std::to_string(v);
        return s + std::string(s.size() < 10 ? 10 - s.size() : 0, ' ');
    };
    std::string out = "SHOW=" + e.showName + "\r\nform1.width=" + std::to_string(width) + "\r\n";
    for (int32_t i = 1; i <= e.Count(); ++i) {
        const PlainRecord& r = e.records[static_cast<std::size_t>(i)];
        out += std::to_string(r.Day) + "." + std::to_string(r.Month) + "." + std::to_string(r.Year) + "-" +
               std::to_string(r.Segment) + "\t" + padded(r.InOctets) + "\t" + padded(r.OutOctets) + "\t" + r.Name +
               "\r\n";
    }
    return out;
}

bool PlainHasRecords(const PlainEngine& e, const std::string& name)
{
    for (int32_t i = 1; i <= e.Count(); ++i)
        if (e.records[static_cast<std::size_t>(i)].Name == name)
            return true;
    return false;
}

void PlainClose(PlainEngine& e, const std::string& name)
{
    for (int32_t i = 1; i <= e.Count(); ++i) {
        PlainRecord& r = e.records[static_cast<std::size_t>(i)];
        if (r.Name == name && r.RecordDate() == e.startDate && r.Segment == 0)
            r.Segment = ++e.segmentCounter;
    }
}

// Traffic into the last open record of the day, a new one when there is none; a record
// never passes 4294967295: it is filled, closed, and the rest goes on.
void PlainAdd(PlainEngine& e, const std::string& name, uint64_t in, uint64_t out)
{
    for (;;) {
        int32_t open = 0;
        for (int32_t i = 1; i <= e.Count(); ++i) {
            const PlainRecord& r = e.records[static_cast<std::size_t>(i)];
            if (r.Name == name && r.RecordDate() == e.startDate && r.Segment == 0)
                open = i;
        }
        if (!open) {
            PlainRecord r;
            r.Name = name;
            r.Year = e.startDate.Year, r.Month = e.startDate.Month, r.Day = e.startDate.Day;
            e.records.push_back(r);
            open = e.Count();
        }
        PlainRecord& r = e.records[static_cast<std::size_t>(open)];
        const uint64_t roomIn = 4294967295u - r.InOctets, roomOut = 4294967295u - r.OutOctets;
        if (in <= roomIn && out <= roomOut) {
            r.InOctets = static_cast<uint32_t>(r.InOctets + in);
            r.OutOctets = static_cast<uint32_t>(r.OutOctets + out);
            return;
        }
        const uint64_t takeIn = std::min(in, roomIn), takeOut = std::min(out, roomOut);
        r.InOctets = static_cast<uint32_t>(r.InOctets + takeIn);
        r.OutOctets = static_cast<uint32_t>(r.OutOctets + takeOut);
        in -= takeIn, out -= takeOut;
        r.Segment = ++e.segmentCounter;
    }
}

// One sample, as the rules are worded, row by row in table order.
void PlainSample(PlainEngine& e, const std::vector<IfRow>& table, uint64_t now, bool wide)
{
    // Filter rows count nothing unless priced or shown; their counters are noted.
    std::vector<IfRow> rows;
    for (const IfRow& row : table) {
        const int entry = e.tariffs.Find(row.Description);
        const bool priced = entry && (e.tariffs[entry].PriceIn > 0 || e.tariffs[entry].PriceOut > 0);
        if (!row.FilterInterface || priced || row.Description == e.showName) {
            rows.push_back(row);
        } else {
            e.previous[row.Identity] = PlainPrevious{row.InOctets, row.OutOctets, now, true};
            e.names[row.Identity] = row.Description;
        }
    }
    const bool first = !e.sampled;
    if (wide != e.wide && !e.previous.empty()) {
        e.previous.clear();
        if (first && e.start == StartKind::Continue)
            e.start = StartKind::Untrusted;
    }
    e.wide = wide;
    const double interval = first ? 1 : static_cast<double>(now - e.lastSample) / 1000;
    e.seconds = interval <= 1.5 ? 1 : interval;
    e.growth.clear();
    // A new identity takes over a row of its description that was in the previous sample,
    // is gone from this one, and whose counters it carries on.
    for (const IfRow& row : first ? std::vector<IfRow>() : rows) {
        if (e.previous.count(row.Identity))
            continue;
        for (auto& [identity, p] : e.previous) {
            bool gone = true;
            for (const IfRow& other : rows)
                gone = gone && other.Identity != identity;
            if (p.thisRun && p.at == e.lastSample && e.names[identity] == row.Description && gone &&
                p.in <= row.InOctets && p.out <= row.OutOctets) {
                e.previous[row.Identity] = p;
                e.names[row.Identity] = row.Description;
                e.previous.erase(identity);
                break;
            }
        }
    }
    std::vector<std::string> fresh, restarted;
    const std::map<uint64_t, PlainPrevious> knownBefore = e.previous;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const IfRow& row = rows[k];
        const std::string& name = row.Description;
        // Rows of this description with these very counters: only the first known one (or
        // the first of them, when none is known) counts; the others only note their counters.
        std::size_t counting = rows.size();
        for (std::size_t j = 0; j < rows.size(); ++j) {
            const IfRow& other = rows[j];
            if (other.Description == name && other.InOctets == row.InOctets && other.OutOctets == row.OutOctets &&
                knownBefore.count(other.Identity) && counting == rows.size())
                counting = j;
        }
        for (std::size_t j = 0; j < rows.size() && counting == rows.size(); ++j)
            if (rows[j].Description == name && rows[j].InOctets == row.InOctets && rows[j].OutOctets == row.OutOctets)
                counting = j;
        if (counting != k) {
            e.previous[row.Identity] = PlainPrevious{row.InOctets, row.OutOctets, now, true};
            e.names[row.Identity] = name;
            continue;
        }
        const bool isFresh = std::count(fresh.begin(), fresh.end(), name) || !PlainHasRecords(e, name);
        uint64_t in = 0, out = 0;
        bool restart = false, speed = false;
        auto known = e.previous.find(row.Identity);
        if (known != e.previous.end() && !(first && e.start == StartKind::Restarted)) {
            const PlainPrevious& p = known->second;
            const bool inDown = row.InOctets < p.in, outDown = row.OutOctets < p.out;
            speed = true;
            if (!inDown && !outDown) {
                in = row.InOctets - p.in, out = row.OutOctets - p.out;
            } else {
                restart = true;
                in = row.InOctets, out = row.OutOctets;
                if (!wide && inDown != outDown && p.thisRun && now - p.at <= 60000) {
                    const uint64_t wrapIn = inDown ? row.InOctets + (uint64_t(1) << 32) - p.in : row.InOctets - p.in;
                    const uint64_t wrapOut = outDown ? row.OutOctets + (uint64_t(1) << 32) - p.out : row.OutOctets - p.out;
                    const double bits = static_cast<double>(inDown ? row.InSpeed : row.OutSpeed);
                    const double allowed = bits / 8 * static_cast<double>(now - p.at + 1000) / 1000;
                    if (bits == 0 || static_cast<double>(inDown ? wrapIn : wrapOut) <= allowed)
                        restart = false, in = wrapIn, out = wrapOut;
                }
            }
        } else if (!first && std::count(e.sampledNames.begin(), e.sampledNames.end(), name)) {
            in = row.InOctets, out = row.OutOctets, restart = true, speed = true;  // made again in this run
        } else if (isFresh && !(e.filePresent && first && e.start != StartKind::Restarted)) {
            in = row.InOctets, out = row.OutOctets;
        } else if (isFresh) {
            // the counters file should have known it: nothing
        } else if (e.start == StartKind::Restarted) {
            in = row.InOctets, out = row.OutOctets, restart = true;
        } else if (e.start == StartKind::Upgrade && e.upgradeBase.count(name)) {
            const std::pair<uint32_t, uint32_t> held = e.upgradeBase[name];
            PlainRecord base;
            base.InOctets = held.first, base.OutOctets = held.second;
            const PlainRecord* last = &base;
            const uint32_t lowIn = static_cast<uint32_t>(row.InOctets), lowOut = static_cast<uint32_t>(row.OutOctets);
            const bool inOk = lowIn >= last->InOctets || (wide && row.InOctets >> 32);
            const bool outOk = lowOut >= last->OutOctets || (wide && row.OutOctets >> 32);
            if (inOk && outOk)
                in = static_cast<uint32_t>(lowIn - last->InOctets), out = static_cast<uint32_t>(lowOut - last->OutOctets);
            else
                in = row.InOctets, out = row.OutOctets, restart = true;
        }
        if (in > (uint64_t(1) << 44) || out > (uint64_t(1) << 44))
            continue;  // a glitch: skipped, the row's counters not noted
        e.sampledNames.push_back(name);
        if (isFresh)
            fresh.push_back(name);
        if (restart && !isFresh && !std::count(restarted.begin(), restarted.end(), name)) {
            restarted.push_back(name);
            PlainClose(e, name);
        }
        if (row.InOctets || row.OutOctets || PlainHasRecords(e, name))
            PlainAdd(e, name, in, out);
        if (speed && !first)
            e.growth[name] += in + out;
        e.previous[row.Identity] = PlainPrevious{row.InOctets, row.OutOctets, now, true};
        e.names[row.Identity] = name;
    }
    e.sampled = true;
    e.lastSample = now;
}

std::string PlainHitTest(const PlainEngine& e, int y)
{
    std::string selected = e.firstConnection;
    int best = 16777215;
    for (int32_t i = 1; i <= e.Count(); ++i) {
        int p = e.records[static_cast<std::size_t>(i)].BlockTop;
        if (p > 0 && p <= y && y - p < best) {
            selected = e.records[static_cast<std::size_t>(i)].Name;
            best = y - p;
        }
    }
    return selected;
}

// ---- What both passes draw on ----

// Logs every call, so two passes can be compared call by call.
class LoggingCanvas : public Canvas {
public:
    std::vector<std::string> log;
    void SetFontSize(int points) override { log.push_back("size " + std::to_string(points)); }
    void SetFontColor(Color c) override { log.push_back("color " + std::to_string(c)); }
    void SetFontBold(bool b) override { log.push_back(b ? "bold" : "regular"); }
    void PutText(int x, int y, const std::string& text, bool userText) override
    {
        log.push_back("text " + std::to_string(x) + "," + std::to_string(y) + (userText ? " user " : " ") + text);
    }
    int TextWidth(const std::string& text) override
    {
        log.push_back("width " + text);
        return 6 * static_cast<int>(text.size());
    }
};

// The main window around the bitmap. A click arrives whenever the window grows, as the
// growth lets pending messages run in the middle of a pass.
class LoggingHost : public PanelHost {
public:
    LoggingCanvas canvas;
    int panelHeight = 42;
    int outerWidth = 300;
    std::function<std::string(int)> click;

    Canvas& PanelCanvas() override { return canvas; }
    void SizeBitmapToPanel() override { canvas.log.push_back("bitmap"); }
    int PanelHeight() override { return panelHeight; }
    void GrowWindow(int outerHeight) override
    {
        panelHeight = outerHeight - 112;
        canvas.log.push_back("grow " + std::to_string(outerHeight));
        for (int y : {3, 50, outerHeight - 210, outerHeight - 200})
            canvas.log.push_back("click " + std::to_string(y) + " " + click(y));
    }
    int OuterWidth() override { return outerWidth; }
    void SetOuterWidth(int w) override
    {
        outerWidth = w;
        canvas.log.push_back("widen " + std::to_string(w));
    }
    Color DesktopColor() override { return RgbColor(58, 110, 165); }
};

// The drawing pass as worded: every record's scratch reset, then per first record of a
// connection a scan of the rest of the table; the hidden connections looked up in the lines
// of "nast_o.txt" for every drawn block (`hidden`: the file's text, none when it is missing).
class PlainPass {
public:
    PlainPass(PlainEngine& e, LoggingHost& host, char sep, const std::optional<std::string>& hidden)
        : e_(e), host_(host), c_(host.canvas), sep_(sep), hidden_(hidden)
    {
    }

    void Draw()
    {
        host_.SizeBitmapToPanel();
        c_.SetFontSize(10);
        y_ = 4;
        e_.firstConnection.clear();
        for (PlainRecord& r : e_.records)
            r.Summed = 0, r.BlockTop = 0;
        for (int32_t i = 1; i <= e_.Count(); ++i) {
            if (e_.records[static_cast<std::size_t>(i)].Summed)
                continue;
            const std::string name = e_.records[static_cast<std::size_t>(i)].Name;
            if (e_.firstConnection.empty())
                e_.firstConnection = name;
            uint64_t allIn = 0, allOut = 0, todayIn = 0, todayOut = 0;
            for (int32_t j = 1; j <= e_.Count(); ++j) {
                PlainRecord& r = e_.records[static_cast<std::size_t>(j)];
                if (r.Summed || r.Name != name)
                    continue;
                allIn += r.InOctets, allOut += r.OutOctets;
                if (r.RecordDate() == e_.startDate)
                    todayIn += r.InOctets, todayOut += r.OutOctets;
                r.Summed = 1;
            }
            if (!e_.showName.empty() && name != e_.showName)
                continue;
            const int top = y_;
            e_.records[static_cast<std::size_t>(i)].BlockTop = top;
            if (host_.PanelHeight() < top + 128)
                host_.GrowWindow(top + 208);
            c_.SetFontColor(host_.DesktopColor());
            c_.SetFontBold(true);
            c_.PutText(10, top, DisplayName(e_.tariffs, name, true), true);
            c_.SetFontColor(PanelStyle::Blue);
            c_.SetFontBold(false);
            y_ += 18;
            const char* headers[] = {"Отправлено", "Принято", "Всего", "Скорость", "Итого", "Цена Вход.", "Цена Исход."};
            for (int k = 0; k < 7; ++k)
                c_.PutText(90 + 100 * k, y_, headers[k]);
            Row(true, todayOut, todayIn, name);
            Row(false, allOut, allIn, name);
            y_ += 24;
        }
    }

private:
    uint8_t Shows(const std::string& name)
    {
        if (!hidden_)
            return 1;
        for (const std::string& line : PlainLines(*hidden_))
            if (line == name)
                return 0;
        return 1;
    }

    void Row(bool today, uint64_t out, uint64_t in, const std::string& name)
    {
        infos* row = nullptr;
        if (today) {
            row = &e_.informerRows.emplace_back();
            row->Conn = name;
            row->Title = DisplayName(e_.tariffs, name, false).substr(0, 17) + ".   ";
            row->Visible = Shows(name);
        }
        y_ += 18;
        c_.SetFontColor(PanelStyle::Blue);
        c_.PutText(10, y_, today ? "Сегодня" : "Всего");
        c_.SetFontColor(PanelStyle::Black);
        c_.PutText(90, y_, TrafficText(out, 0, sep_));
        c_.PutText(190, y_, TrafficText(in, 0, sep_));
        c_.PutText(290, y_, TrafficText(out, in, sep_) + Blanks92);
        if (row)
            row->Traffic = TrafficText(out, in, sep_);
        if (today) {
            auto grown = e_.growth.find(name);
            row->Speed = SpeedText(grown == e_.growth.end() ? 0 : static_cast<double>(grown->second) / e_.seconds / 128, sep_);
            c_.PutText(390, y_, row->Speed);
        }
        int entry = e_.tariffs.FindOrAdd(name);
        double priceIn = entry ? e_.tariffs[entry].PriceIn : 0;
        double priceOut = entry ? e_.tariffs[entry].PriceOut : 0;
        std::string cost = CostText(priceOut * static_cast<double>(out), priceIn * static_cast<double>(in), sep_);
        c_.SetFontColor(PanelStyle::Red);
        c_.PutText(490, y_, cost);
        if (row)
            row->Sum = cost;
        c_.SetFontColor(PanelStyle::Black);
        c_.PutText(590, y_, FormatFixed(priceIn, 2, sep_) + " руб.");
        std::string outPrice = FormatFixed(priceOut, 2, sep_) + " руб.";
        c_.PutText(690, y_, outPrice);
        int wanted = c_.TextWidth(outPrice) + 70 + 620 + 40;
        if (host_.OuterWidth() < wanted)
            host_.SetOuterWidth(wanted);
    }

    PlainEngine& e_;
    LoggingHost& host_;
    Canvas& c_;
    char sep_;
    const std::optional<std::string>& hidden_;
    int y_ = 4;
};

// ---- Random histories and samples ----

class Random {
public:
    explicit Random(uint32_t seed) : g_(seed) {}
    uint32_t Below(uint32_t n) { return static_cast<uint32_t>(g_() % n); }
    bool Percent(uint32_t p) { return Below(100) < p; }
    uint32_t Counter() { return Percent(20) ? 4294967295u - Below(1u << 20) : static_cast<uint32_t>(g_()); }
    template <typename T>
    const T& Pick(const std::vector<T>& v) { return v[Below(static_cast<uint32_t>(v.size()))]; }

private:
    std::mt19937 g_;
};

// Names that differ only in case or a blank are different connections; the empty name is one too.
const std::vector<std::string> Names = {"eth0", "ETH0", "eth0 ", "", "Высокоскоростное подключение",
                                        "Realtek PCIe GbE Family Controller #2", "lo"};

Date NextDay(Date d)
{
    if (d.Day < 28)
        return Date{d.Year, d.Month, static_cast<uint16_t>(d.Day + 1)};
    if (d.Month < 12)
        return Date{d.Year, static_cast<uint16_t>(d.Month + 1), 1};
    return Date{static_cast<uint16_t>(d.Year + 1), 1, 1};
}

std::string DateText(Date d)
{
    return std::to_string(d.Day) + "." + std::to_string(d.Month) + "." + std::to_string(d.Year);
}

// A hand-kept "history.txt": mostly well-formed records of today, yesterday and long ago (many
// open ones, so one name often has several open records of today), with stray settings,
// junk, damaged fields and every kind of line end.
std::string RandomHistoryText(Random& rnd, Date today, const std::string& showName)
{
    const std::vector<Date> dates = {today, today, Date{2026, 12, 5}, Date{2020, 1, 1}};
    const std::vector<std::string> ends = {"\r\n", "\r\n", "\r\n", "\n", "\r"};
    std::string text = "SHOW=" + showName + "\r\nform1.width=792\r\n";
    const uint32_t lines = rnd.Below(40);
    for (uint32_t k = 0; k < lines; ++k) {
        switch (rnd.Below(20)) {
        case 0: text += "\t"; break;
        case 1: text += "junk without a tab"; break;
        case 2: text += " SHOW = " + rnd.Pick(Names); break;
        case 3: text += DateText(rnd.Pick(dates)) + "\t-x7 \t" + rnd.Pick(Names); break;  // fields out of place
        case 4: text += "a" + DateText(rnd.Pick(dates)) + "-+1\t 99999999999\t12 \t" + rnd.Pick(Names); break;
        default: {
            std::string in = std::to_string(rnd.Counter()), out = std::to_string(rnd.Counter());
            text += DateText(rnd.Pick(dates)) + "-" + std::to_string(rnd.Percent(60) ? 0 : 1 + rnd.Below(9)) + "\t" +
                    in + std::string(10 - in.size(), ' ') + "\t" + out + std::string(10 - out.size(), ' ') + "\t" +
                    rnd.Pick(Names);
        }
        }
        text += rnd.Pick(ends);
    }
    return text;
}

// The interfaces of a random machine, each read as a row of the table: mostly growing
// counters, sometimes equal, restarted, made again under a new identity, renamed, pushed to
// just below a multiple of 2^32 or grown by gigabytes at once (wraps of the 32-bit table,
// splits at the record's limit), renumbered; sometimes listed twice, with a stale row or the
// same counters.
struct RandomInterface {
    uint64_t identity = 0;
    std::string name;
    uint64_t in = 0, out = 0, speed = 0;
    bool filter = false;  // a filter driver's row
};

std::vector<IfRow> RandomRows(Random& rnd, std::vector<RandomInterface>& interfaces, bool wide, uint64_t& nextIdentity)
{
    const uint64_t low32 = 0xFFFFFFFFu;
    std::vector<IfRow> rows;
    for (RandomInterface& i : interfaces) {
        if (!rnd.Percent(80))
            continue;
        switch (rnd.Below(15)) {
        case 14: i.identity = ++nextIdentity; break;  // renumbered, the counters go on
        case 0: i.in = rnd.Below(1000), i.out = rnd.Below(1000); break;  // the counters started again
        case 1: i.identity = ++nextIdentity, i.in = rnd.Below(1000), i.out = 0; break;  // made again
        case 2: break;
        case 7: i.in = i.out = 0; break;  // started again, idle since
        case 3: i.name = rnd.Pick(Names); break;
        case 4: i.in = (i.in | low32) - rnd.Below(5000); break;
        case 5: i.out = (i.out | low32) - rnd.Below(5000); break;
        case 6: i.in += (uint64_t(rnd.Below(6)) << 30) + rnd.Below(1u << 20); break;  // up to 6 GiB at once
        default: i.in += rnd.Below(1u << 22), i.out += rnd.Below(1u << 18);
        }
        rows.push_back({i.name, wide ? i.in : i.in & low32, wide ? i.out : i.out & low32, i.identity, i.speed, i.speed,
                        i.filter});
        if (rnd.Percent(8))
            rows.push_back({i.name, 7000, 700, i.identity ^ 0x5a5a0000, i.speed, i.speed});  // a stale duplicate
        if (rnd.Percent(8))
            rows.push_back({rows.back().Description, rows.back().InOctets, rows.back().OutOctets,
                            i.identity ^ 0x33000000, i.speed, i.speed});  // the same row listed twice
    }
    for (std::size_t k = rows.size(); k > 1; --k)
        std::swap(rows[k - 1], rows[rnd.Below(static_cast<uint32_t>(k))]);
    return rows;
}

// ---- Comparing ----

std::string RecordText(int32_t i, const DayRecord& r)
{
    return std::to_string(i) + ": " + DateText(r.RecordDate()) + "-" + std::to_string(r.Segment) + " " +
           std::to_string(r.InOctets) + "/" + std::to_string(r.OutOctets) + " top " + std::to_string(r.BlockTop) +
           " [" + r.Name.str() + "]";
}

std::string RecordText(int32_t i, const PlainRecord& r)
{
    return std::to_string(i) + ": " + DateText(r.RecordDate()) + "-" + std::to_string(r.Segment) + " " +
           std::to_string(r.InOctets) + "/" + std::to_string(r.OutOctets) + " top " + std::to_string(r.BlockTop) +
           " [" + r.Name + "]";
}

std::string InfosText(const infos& row)
{
    return row.Title + "|" + row.Conn + "|" + row.Traffic + "|" + row.Sum + "|" + row.Speed + "|" +
           std::to_string(row.Visible);
}

std::string TariffText(const mtp& t)
{
    std::ostringstream s;
    s << t.Name << "|" << t.Alias << "|" << t.PriceIn << "|" << t.PriceOut;
    return s.str();
}

// The first line where two lists differ, or "" when they are the same.
std::string FirstDifference(const std::vector<std::string>& real, const std::vector<std::string>& plain)
{
    for (std::size_t k = 0; k < std::max(real.size(), plain.size()); ++k) {
        std::string a = k < real.size() ? real[k] : "<none>";
        std::string b = k < plain.size() ? plain[k] : "<none>";
        if (a != b)
            return "line " + std::to_string(k) + ": real <" + a + "> plain <" + b + ">";
    }
    return "";
}

class Replay {
public:
    Replay(uint32_t seed, const fs::path& folder) : rnd_(seed), folder_(folder)
    {
        sep_ = rnd_.Percent(50) ? ',' : '.';
        wide_ = rnd_.Percent(50);
        table_.counters64 = wide_;
        const uint64_t speeds[] = {0, 1'000'000, 100'000'000, 1'000'000'000};
        for (int k = 0; k < 5; ++k)
            interfaces_.push_back({++nextIdentity_, rnd_.Pick(Names), rnd_.Counter(), rnd_.Counter(), speeds[rnd_.Below(4)],
                                   rnd_.Percent(20)});
        realHost_.click = [this](int y) { return HitTest(engine_->HistoryTable, engine_->FirstConnection, y); };
        plainHost_.click = [this](int y) { return PlainHitTest(plain_, y); };
        WriteHiddenFile();
        std::string showName = rnd_.Percent(70) ? "" : rnd_.Percent(80) ? rnd_.Pick(Names) : std::string("absent");
        // An earlier version's history (or none) with no counters file beside it, or a damaged one.
        fs::remove(folder_ / "counters.txt");
        const bool damaged = rnd_.Percent(30);
        if (damaged)
            std::ofstream(folder_ / "counters.txt", std::ios::binary) << "uptime=12\r\n\tgarbage";
        Start(RandomHistoryText(rnd_, today_, showName), RandomPriceText(),
              damaged ? StartKind::Untrusted : StartKind::Upgrade);
    }

    void Run(int ticks)
    {
        ExpectSame("loaded");
        for (int tick = 0; tick < ticks && !::testing::Test::HasFailure(); ++tick) {
            const uint32_t event = rnd_.Below(100);
            if (event < 3) {
                Restart();
            } else if (event < 4) {
                Reboot();
            } else if (event < 5) {
                // The counters file lost or damaged while the program was away.
                const bool damaged = rnd_.Percent(50);
                Restart(damaged ? StartKind::Untrusted : StartKind::Upgrade, damaged ? "counters=64\r\nx" : nullptr);
            } else if (event < 8) {
                today_ = rnd_.Percent(80) ? NextDay(today_) : Date{2026, 11, 30};  // midnight, or the clock set back
            } else if (event < 11) {
                WriteHiddenFile();
            } else if (event < 13) {
                plain_.showName = engine_->ShowName = rnd_.Percent(50) ? "" : rnd_.Pick(Names);
            } else {
                const uint64_t steps[] = {1000, 1000, 1000, 1000, 1400, 3000, 70'000};
                now_ += steps[rnd_.Below(7)];
                engine_->StartDate = plain_.startDate = today_;
                table_.rows = RandomRows(rnd_, interfaces_, wide_, nextIdentity_);
                table_.readFails = event >= 97;  // the table could not be read: only the pass runs
                SampleInterfaces(*engine_, now_);
                if (table_.readFails)
                    plain_.growth.clear();
                else
                    PlainSample(plain_, table_.rows, now_, wide_);
            }
            Pass();
            ExpectSame("tick " + std::to_string(tick));
        }
        Restart();  // the written files are compared there
    }

private:
    std::string RandomPriceText()
    {
        std::string text;
        for (const std::string& name : Names)
            if (rnd_.Percent(50))
                text += name + "|" + (rnd_.Percent(20) ? "" : "alias of " + name) + ">" + std::to_string(rnd_.Below(4)) +
                        "@" + std::to_string(rnd_.Below(3)) + "\r\n";
        return text;
    }

    void WriteHiddenFile()
    {
        fs::remove(folder_ / "nast_o.txt");
        hidden_.reset();
        if (rnd_.Percent(20))
            return;
        hidden_.emplace();
        for (const std::string& name : Names)
            if (rnd_.Percent(30))
                *hidden_ += name + "\r\n";
        std::ofstream(folder_ / "nast_o.txt", std::ios::binary) << *hidden_;
    }

    // A new run reading the given files: the real engine through LoadState (and whatever
    // "counters.txt" holds), the model through its own reader and the way its first sample
    // is told to count (`start`; an upgrade of an empty history is a plain continue).
    void Start(const std::string& history, const std::string& prices, StartKind start,
               std::map<uint64_t, PlainPrevious> previous = {})
    {
        std::ofstream(folder_ / "history.txt", std::ios::binary) << history;
        std::ofstream(folder_ / "price.txt", std::ios::binary) << prices;
        engine_ = std::make_unique<Engine>(table_);
        table_.Load();
        LoadState(*engine_, folder_, now_, sep_);
        engine_->StartDate = today_;
        plain_ = PlainEngine();
        PlainRead(history, plain_);
        ReadTariffText(prices, plain_.tariffs, sep_);
        plain_.startDate = today_;
        plain_.wide = wide_;
        plain_.start = start == StartKind::Upgrade && plain_.Count() == 0 ? StartKind::Continue : start;
        plain_.filePresent = fs::exists(folder_ / "counters.txt");
        if (plain_.start == StartKind::Upgrade)
            for (int32_t i = 1; i <= plain_.Count(); ++i)
                plain_.upgradeBase[plain_.records[static_cast<std::size_t>(i)].Name] = {
                    plain_.records[static_cast<std::size_t>(i)].InOctets, plain_.records[static_cast<std::size_t>(i)].OutOctets};
        for (auto& [identity, p] : previous)
            p.thisRun = false;
        plain_.previous = std::move(previous);
        EXPECT_EQ(engine_->Counters.Start, plain_.start);
    }

    // The exit writes the files; the next start, perhaps on the next day, reads them back.
    // `counters`: what the counters file holds at the start instead (nullptr: none).
    void Restart(StartKind start = StartKind::Continue, const char* counters = "")
    {
        MemoryFileStore store;
        SaveState(*engine_, folder_, 792, sep_, store);
        const std::string history = store.files["history.txt"];
        EXPECT_EQ(history, PlainWrite(plain_, 792));
        EXPECT_EQ(store.files["price.txt"], WriteTariffText(plain_.tariffs, sep_));
        fs::remove(folder_ / "counters.txt");
        if (counters)
            std::ofstream(folder_ / "counters.txt", std::ios::binary) << (*counters ? counters : store.files["counters.txt"]);
        if (rnd_.Percent(50))
            today_ = NextDay(today_);
        Start(history, store.files["price.txt"], start,
              start == StartKind::Continue ? plain_.previous : std::map<uint64_t, PlainPrevious>{});
        ExpectSame("restarted");
    }

    // The computer restarts: every interface's counters start again, the uptime too.
    void Reboot()
    {
        for (RandomInterface& i : interfaces_)
            i.in = rnd_.Below(100), i.out = rnd_.Below(100);
        MemoryFileStore store;
        SaveState(*engine_, folder_, 792, sep_, store);
        std::ofstream(folder_ / "counters.txt", std::ios::binary) << store.files["counters.txt"];
        // Lower than the uptime the file holds (a reboot that came later would not show in it).
        now_ = 1 + rnd_.Below(static_cast<uint32_t>(engine_->Counters.Uptime / 2));
        Start(store.files["history.txt"], store.files["price.txt"], StartKind::Restarted);
        ExpectSame("rebooted");
    }

    void Pass()
    {
        engine_->InformerRows.clear();
        plain_.informerRows.clear();
        DrawPanel(*engine_, realHost_, sep_, folder_);
        PlainPass(plain_, plainHost_, sep_, hidden_).Draw();
    }

    void ExpectSame(const std::string& when)
    {
        SCOPED_TRACE(when);
        std::vector<std::string> real, plain;
        for (int32_t i = 1; i <= engine_->HistoryTable.HistoryCount(); ++i)
            real.push_back(RecordText(i, engine_->HistoryTable[i]));
        for (int32_t i = 1; i <= plain_.Count(); ++i)
            plain.push_back(RecordText(i, plain_.records[static_cast<std::size_t>(i)]));
        EXPECT_EQ(FirstDifference(real, plain), "") << "records";
        EXPECT_EQ(engine_->SegmentCounter, plain_.segmentCounter);
        EXPECT_EQ(engine_->Counters.Start, plain_.start);
        EXPECT_EQ(engine_->ShowName, plain_.showName);
        EXPECT_EQ(engine_->FirstConnection, plain_.firstConnection);

        EXPECT_EQ(FirstDifference(realHost_.canvas.log, plainHost_.canvas.log), "") << "drawing";
        EXPECT_EQ(realHost_.outerWidth, plainHost_.outerWidth);
        EXPECT_EQ(realHost_.panelHeight, plainHost_.panelHeight);
        realHost_.canvas.log.clear();
        plainHost_.canvas.log.clear();

        real.clear(), plain.clear();
        for (const infos& row : engine_->InformerRows)
            real.push_back(InfosText(row));
        for (const infos& row : plain_.informerRows)
            plain.push_back(InfosText(row));
        EXPECT_EQ(FirstDifference(real, plain), "") << "informer rows";

        real.clear(), plain.clear();
        for (int i = 1; i <= engine_->TariffTable.TariffCount(); ++i)
            real.push_back(TariffText(engine_->TariffTable[i]));
        for (int i = 1; i <= plain_.tariffs.TariffCount(); ++i)
            plain.push_back(TariffText(plain_.tariffs[i]));
        EXPECT_EQ(FirstDifference(real, plain), "") << "tariffs";

        for (int y : {-1, 0, 3, 4, 5, 81, 82, 100, 160, 161, 400, 1000})
            EXPECT_EQ(HitTest(engine_->HistoryTable, engine_->FirstConnection, y), PlainHitTest(plain_, y)) << y;
    }

    Random rnd_;
    fs::path folder_;
    char sep_ = ',';
    bool wide_ = false;
    Date today_{2026, 12, 6};
    uint64_t now_ = 1'000'000'000;  // the system's uptime: 11 days
    FakeIfTable table_;
    std::vector<RandomInterface> interfaces_;
    uint64_t nextIdentity_ = 0;
    std::unique_ptr<Engine> engine_;
    PlainEngine plain_;
    LoggingHost realHost_, plainHost_;
    std::optional<std::string> hidden_;  // what "nast_o.txt" holds; none when it is missing
};

TEST(IndexedTables, GiveWhatThePlainScansGiveOverRandomRuns)
{
    const fs::path folder = fs::temp_directory_path() / "vornik-equivalence-test";
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (uint32_t seed = 1; seed <= 60 && !HasFailure(); ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Replay(seed, folder).Run(50);
    }
    fs::remove_all(folder);
}

}  // namespace
