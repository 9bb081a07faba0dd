#include "mainwindow/panel.h"

#include "informer/hidden_connections.h"

const char* const TodayCaption = "Сегодня";
const char* const AllDaysCaption = "Всего";

namespace {

class PanelPass {
public:
    PanelPass(Engine& engine, PanelHost& host, char sep, const std::filesystem::path& folder)
        : e_(engine), host_(host), canvas_(host.PanelCanvas()), sep_(sep), hidden_(folder), dpi_(host.PanelDpi())
    {
    }

    void Draw()
    {
        host_.SizeBitmapToPanel();
        canvas_.SetFontSize(10);
        PanelY = S(PanelStyle::FirstBlockTop);
        e_.FirstConnection.clear();
        DayRecordArray& history = e_.HistoryTable;
        // Only a connection's first record carries a block top.
        for (int32_t c = 0; c < history.ConnectionCount(); ++c)
            history[history.FirstRecord(c)].BlockTop = 0;
        // Connections in the order of their first records, each with the sums of its records.
        for (int32_t c = 0; c < history.ConnectionCount(); ++c) {
            const std::string& name = history.ConnectionNameOf(c);  // the table's copy: stays put
            if (e_.FirstConnection.empty())
                e_.FirstConnection = name;
            TrafficSums sums = history.Sums(c, e_.StartDate);
            if (!e_.ShowName.empty() && name != e_.ShowName)
                continue;
            DrawBlock(history.FirstRecord(c), name, sums);
        }
    }

private:
    void DrawBlock(int32_t first, const std::string& name, const TrafficSums& sums)
    {
        const int top = PanelY;
        e_.HistoryTable[first].BlockTop = top;
        if (host_.PanelHeight() < top + S(128))
            host_.GrowWindow(top + S(208));  // pending messages run here; `first` is an index, still valid

        canvas_.SetFontColor(host_.DesktopColor());
        canvas_.SetFontBold(true);
        canvas_.PutText(S(10), top, DisplayName(e_.TariffTable, name, true), true);

        canvas_.SetFontColor(PanelStyle::Blue);
        canvas_.SetFontBold(false);
        PanelY += S(PanelStyle::LineStep);
        const char* headers[] = {"Отправлено", "Принято", "Всего", "Скорость", "Итого", "Цена Вход.", "Цена Исход."};
        for (int k = 0; k < 7; ++k)
            canvas_.PutText(S(PanelStyle::PanelX + 20 + 100 * k), PanelY, headers[k]);

        DrawRow(TodayCaption, sums.TodayOut, sums.TodayIn, name);
        DrawRow(AllDaysCaption, sums.AllOut, sums.AllIn, name);
        PanelY += S(PanelStyle::BlockGap);
    }

    void DrawRow(const char* caption, uint64_t out, uint64_t in, const std::string& name)
    {
        const bool today = std::string(caption) == TodayCaption;
        infos* row = nullptr;
        if (today) {
            row = &e_.InformerRows.emplace_back();
            row->Conn = name;
            row->Title = host_.FirstCharacters(DisplayName(e_.TariffTable, name, false), 17) + ".   ";
            row->Visible = hidden_.InformerShows(name);
        }
        const int x = PanelStyle::PanelX;
        PanelY += S(PanelStyle::LineStep);
        const int y = PanelY;
        canvas_.SetFontColor(PanelStyle::Blue);
        canvas_.PutText(S(10), y, caption);

        canvas_.SetFontColor(PanelStyle::Black);
        canvas_.PutText(S(x + 20), y, TrafficText(out, 0, sep_));
        canvas_.PutText(S(x + 120), y, TrafficText(in, 0, sep_));
        canvas_.PutText(S(x + 220), y, TrafficText(out, in, sep_) + Blanks92);
        if (row)
            row->Traffic = TrafficText(out, in, sep_);

        if (today) {
            // What this sample counted for the connection, over the seconds since the one before.
            row->Speed = SpeedText(e_.Counters.Speed(name), sep_);
            canvas_.PutText(S(x + 320), y, row->Speed);
        }

        // A connection without an entry gets one here; on a full table it is priced at 0.
        int entry = e_.TariffTable.FindOrAdd(name);
        double priceIn = entry ? e_.TariffTable[entry].PriceIn : 0;
        double priceOut = entry ? e_.TariffTable[entry].PriceOut : 0;
        std::string cost = CostText(priceOut * static_cast<double>(out), priceIn * static_cast<double>(in), sep_);
        canvas_.SetFontColor(PanelStyle::Red);
        canvas_.PutText(S(x + 420), y, cost);
        if (row)
            row->Sum = cost;

        canvas_.SetFontColor(PanelStyle::Black);
        canvas_.PutText(S(x + 520), y, FormatFixed(priceIn, 2, sep_) + " руб.");
        std::string outPrice = FormatFixed(priceOut, 2, sep_) + " руб.";
        canvas_.PutText(S(x + 620), y, outPrice);

        int wanted = canvas_.TextWidth(outPrice) + S(x + 620 + 40);
        if (host_.OuterWidth() < wanted)
            host_.SetOuterWidth(wanted);
    }

    int S(int designPixels) const { return ScaleByDpi(designPixels, dpi_); }

    Engine& e_;
    PanelHost& host_;
    Canvas& canvas_;
    char sep_;
    const HiddenConnections hidden_;  // "nast_o.txt", read once per pass
    const int dpi_;
    int PanelY = 0;
};

}  // namespace

void DrawPanel(Engine& engine, PanelHost& host, char decimalSeparator, const std::filesystem::path& folder)
{
    PanelPass(engine, host, decimalSeparator, folder).Draw();
}

std::string SpeedText(double kilobitsPerSecond, char decimalSeparator)
{
    if (kilobitsPerSecond < 0)
        return Blanks92;
    if (kilobitsPerSecond > 1024)
        return " " + FormatFixed(kilobitsPerSecond / 1024, 1, decimalSeparator) + " Mbit/s" + Blanks92;
    return " " + FormatFixed(kilobitsPerSecond, 1, decimalSeparator) + "  Kbit/s";
}

std::string HitTest(const DayRecordArray& history, const std::string& firstConnection, int y)
{
    std::string selected = firstConnection;
    int best = 16777215;
    for (int32_t c = 0; c < history.ConnectionCount(); ++c) {
        int p = history[history.FirstRecord(c)].BlockTop;
        if (p > 0 && p <= y && y - p < best) {
            selected = history.ConnectionNameOf(c);
            best = y - p;
        }
    }
    return selected;
}
