// Raw deflate and base64url, for links into the page.
// SPDX-License-Identifier: MIT
#include "services/board/replay_link.h"

#include <zlib.h>

#include <vector>

namespace ruvo::board {

std::string PackedReplay(std::string_view text)
{
    z_stream stream{};
    // -15: raw deflate, no header, as the page's DecompressionStream("deflate-raw") reads it.
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return {};
    std::vector<unsigned char> packed(deflateBound(&stream, static_cast<uLong>(text.size())));
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
    stream.avail_in = static_cast<uInt>(text.size());
    stream.next_out = packed.data();
    stream.avail_out = static_cast<uInt>(packed.size());
    const int status = deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    if (status != Z_STREAM_END)
        return {};

    static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    std::string out;
    for (std::size_t i = 0; i < packed.size(); i += 3) {
        const std::size_t left = packed.size() - i;
        const unsigned bits = (packed[i] << 16) | (left > 1 ? packed[i + 1] << 8 : 0) | (left > 2 ? packed[i + 2] : 0);
        out += kDigits[(bits >> 18) & 63];
        out += kDigits[(bits >> 12) & 63];
        if (left > 1)
            out += kDigits[(bits >> 6) & 63];
        if (left > 2)
            out += kDigits[bits & 63];
    }
    return out;
}

} // namespace ruvo::board
