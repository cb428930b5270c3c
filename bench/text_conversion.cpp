// Converts 1 MB message bodies of the kinds that once took quadratic time, and ordinary ones, to
// text. Each should take well under 0.1 s.

#include "text/html_to_text.h"
#include "text/rtf_text.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr std::size_t bodySize = 1 << 20;

/// The piece repeated until the body holds about a megabyte.
std::string Repeated(const std::string &piece) {
    std::string body;
    body.reserve(bodySize + piece.size());
    while (body.size() < bodySize)
        body += piece;
    return body;
}

/// Opens elements until half the body, then closes with end tags that match none of them.
std::string DeepWithStrayEndTags() {
    std::string body = Repeated("<font>").substr(0, bodySize / 2);
    return body + Repeated("</span>").substr(0, bodySize / 2);
}

std::string OrdinaryMail() {
    return "<html><head><style>p.MsoNormal{margin:0cm;font-family:Calibri}</style></head><body>" +
           Repeated("<p class=MsoNormal>Hello Ann,<o:p></o:p></p><p class=MsoNormal>The figures "
                    "for the <b>northern</b> region &amp; the <i>southern</i> one are in the "
                    "table below&nbsp;&#8211; see you on Monday.<o:p></o:p></p><table><tr><td>"
                    "North</td><td>1,234</td></tr><tr><td>South</td><td>987</td></tr></table>"
                    "<div><br></div><blockquote>&gt; earlier text</blockquote>\n") +
           "</body></html>";
}

std::string RtfWithLargePicture() {
    std::string picture(bodySize, '\0');
    for (std::size_t i = 0; i < picture.size(); ++i)
        picture[i] = "{}\\\x89PNG\r\n\0"[i % 10];
    return "{\\rtf1\\ansi\\ansicpg1252 Before the picture\\par {\\*\\shppict{\\pict\\pngblip\\bin" +
           std::to_string(picture.size()) + " " + picture + "}}After the picture\\par}";
}

std::string RtfText() {
    return "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Calibri;}}" +
           Repeated("\\pard Caf\\'e9 au lait, na\\'efve r\\'e9sum\\'e9 \\u8364?\\par ") + "}";
}

void Convert(benchmark::State &state, std::string (*convert)(std::string_view),
             const std::string &body) {
    for (auto _ : state)
        benchmark::DoNotOptimize(convert(body));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * body.size()));
}

void Register(const char *name, std::string (*convert)(std::string_view), std::string body) {
    benchmark::RegisterBenchmark(name, [body = std::move(body), convert](benchmark::State &state) {
        Convert(state, convert, body);
    })->Unit(benchmark::kMillisecond);
}

} // namespace

int main(int argc, char **argv) {
    Register("html/repeated_style", qb::HtmlToText, Repeated("<style></style>"));
    Register("html/ampersands_alone", qb::HtmlToText, Repeated("&"));
    Register("html/ampersands_in_text", qb::HtmlToText, Repeated("Fish & chips, AT&T R&D "));
    Register("html/nested_div", qb::HtmlToText, Repeated("<div>") + "deep");
    Register("html/deep_with_stray_end_tags", qb::HtmlToText, DeepWithStrayEndTags());
    Register("html/ordinary_mail", qb::HtmlToText, OrdinaryMail());
    Register("rtf/large_bin_picture", qb::RtfToText, RtfWithLargePicture());
    Register("rtf/ordinary_text", qb::RtfToText, RtfText());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
