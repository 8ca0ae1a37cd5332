// The board's page.
// SPDX-License-Identifier: MIT
#include "services/board/board_page.h"

#include "services/board/json_text.h"

namespace ruvo::board {

std::string BoardPage(const std::vector<BoardEntry>& rows, const std::string& day)
{
    const std::string title = day.empty() ? "Ruvo board" : "Ruvo board: the challenge of " + HtmlText(day);
    std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
                       title + "</title>\n</head>\n<body>\n<h1>" + title + "</h1>\n";
    page += "<p>Every game listed here was played again by the board from its replay, and came to the score it "
            "claims.</p>\n<p><a href=\"/board\">All games</a> &middot; <a href=\"/\">Play</a></p>\n";
    if (rows.empty())
        return page + "<p>No game yet.</p>\n</body>\n</html>\n";
    page += "<table>\n<thead><tr><th>Rank</th><th>Name</th><th>Score</th><th>Round</th><th>Ticks</th><th>Date</th>"
            "<th>Day</th><th>Replay</th></tr></thead>\n<tbody>\n";
    for (const BoardEntry& row : rows) {
        const std::string id = std::to_string(row.id);
        page += "<tr><td>" + std::to_string(row.rank) + "</td><td>" + HtmlText(ShownName(row.name)) + "</td><td>" +
                std::to_string(row.score) + "</td><td>" + std::to_string(row.round) + "</td><td>" +
                std::to_string(row.ticks) + "</td><td>" + HtmlText(row.date) + "</td><td>";
        if (!row.day.empty())
            page += "<a href=\"/board?day=" + HtmlText(row.day) + "\">" + HtmlText(row.day) + "</a>";
        page += "</td><td><a href=\"/board/watch/" + id + "\">Watch</a> <a href=\"/board/race/" + id +
                "\">Race</a> <a href=\"/api/v1/replays/" + id + "\">File</a></td></tr>\n";
    }
    return page + "</tbody>\n</table>\n</body>\n</html>\n";
}

} // namespace ruvo::board
