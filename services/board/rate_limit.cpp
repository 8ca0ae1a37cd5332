// Buckets of work an address, refilled with time.
// SPDX-License-Identifier: MIT
#include "services/board/rate_limit.h"

#include <algorithm>

namespace ruvo::board {

bool RateLimit::Take(const std::string& address, std::int64_t nowMs)
{
    if (perMinute_ == 0)
        return true;
    std::lock_guard lock(mutex_);
    auto found = buckets_.find(address);
    if (found == buckets_.end()) {
        if (buckets_.size() >= maxAddresses_)
            Prune(nowMs);
        found = buckets_.emplace(address, Bucket{static_cast<double>(perMinute_), nowMs}).first;
    }
    Bucket& bucket = found->second;
    const double refill = static_cast<double>(std::max<std::int64_t>(nowMs - bucket.atMs, 0)) * perMinute_ / 60000.0;
    bucket.units = std::min(bucket.units + refill, static_cast<double>(perMinute_));
    bucket.atMs = nowMs;
    if (bucket.units < 1)
        return false;
    bucket.units -= 1;
    return true;
}

void RateLimit::Prune(std::int64_t nowMs)
{
    // A bucket a minute old is full again: forgetting it changes nothing.
    std::erase_if(buckets_, [&](const auto& entry) { return nowMs - entry.second.atMs >= 60000; });
    while (buckets_.size() >= maxAddresses_) {
        auto oldest = std::min_element(buckets_.begin(), buckets_.end(),
                                       [](const auto& a, const auto& b) { return a.second.atMs < b.second.atMs; });
        buckets_.erase(oldest);
    }
}

} // namespace ruvo::board
