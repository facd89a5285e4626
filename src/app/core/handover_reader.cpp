#include "app/core/handover_reader.h"

#include <algorithm>

namespace {
// QDataStream's length of a null byte array, and its mark of a 64-bit size to follow
// (never needed within the limits).
constexpr std::uint32_t kNullArray = 0xFFFFFFFFu;
constexpr std::uint32_t kExtendedSize = 0xFFFFFFFEu;
}  // namespace

bool HandoverReader::readWord(const char*& data, const char* end) {
    while (wordBytes_ < 4 && data < end) {
        word_ = (word_ << 8) | static_cast<unsigned char>(*data++);
        ++wordBytes_;
    }
    return wordBytes_ == 4;
}

HandoverReader::State HandoverReader::feed(const char* data, std::size_t size) {
    if (state_ != State::Reading)
        return state_;
    bytes_ += size;
    if (bytes_ > kMaxBytes)
        return state_ = State::Refused;
    const char* end = data + size;
    while (state_ == State::Reading) {
        if (haveCount_ && paths_.size() == count_)
            return state_ = State::Done;
        if (!haveCount_ || !haveLength_) {
            if (!readWord(data, end))
                return state_;
            const std::uint32_t word = word_;
            word_ = 0;
            wordBytes_ = 0;
            if (!haveCount_) {
                if (word >= kExtendedSize || word > kMaxPaths)
                    return state_ = State::Refused;
                haveCount_ = true;
                count_ = word;
                continue;
            }
            if (word == kExtendedSize || (word != kNullArray && word > kMaxBytes))
                return state_ = State::Refused;
            haveLength_ = true;
            length_ = word == kNullArray ? 0 : word;
            path_.clear();
        }
        const std::size_t take =
            std::min<std::size_t>(length_ - path_.size(), static_cast<std::size_t>(end - data));
        path_.append(data, take);
        data += take;
        if (path_.size() < length_)
            return state_;
        paths_.push_back(std::move(path_));
        path_.clear();
        haveLength_ = false;
    }
    return state_;
}
