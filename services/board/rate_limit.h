// How often one address may ask the board for work (a start or a
// verification): a bucket an address, refilled at the rate a minute and
// holding a minute's worth. The buckets are bounded: when there are too
// many, the full ones go first, then the oldest.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

namespace ruvo::board {

class RateLimit {
  public:
    // perMinute 0: no limit.
    explicit RateLimit(std::uint32_t perMinute, std::size_t maxAddresses = 100000)
        : perMinute_(perMinute), maxAddresses_(maxAddresses)
    {
    }
    // True when the address may go on; one unit of its bucket taken.
    bool Take(const std::string& address, std::int64_t nowMs);

  private:
    struct Bucket {
        double units = 0;
        std::int64_t atMs = 0;
    };
    void Prune(std::int64_t nowMs);

    std::uint32_t perMinute_;
    std::size_t maxAddresses_;
    std::mutex mutex_;
    std::unordered_map<std::string, Bucket> buckets_;
};

} // namespace ruvo::board
