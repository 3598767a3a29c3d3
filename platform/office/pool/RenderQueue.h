#pragma once
// The renders the pool holds, in the order helpers take them up: those the batch has taken
// first, in the order it took them, then those made ahead of it in the run's order. No
// threads: the pool calls it under its lock.
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/Automation.h"
#include "platform/office/pool/PoolPolicy.h"
#include "platform/office/pool/RenderJob.h"

namespace pendrel::office {

class RenderQueue {
public:
    // The documents the run opens next; renders ahead of any other are no longer wanted.
    void Expect(const std::vector<LookAhead::Document>& next);
    // The render of the document at path for the batch: the one made ahead for it when that is
    // of the file as it is now (now: its identity), else a new one.
    std::shared_ptr<RenderJob> Take(const std::string& path,
                                    const std::optional<FileIdentity>& now);
    // The next job for a free helper of a pool of poolSize: one waiting, else the run's next
    // document when the look-ahead allows; with create false, only whether there is one.
    std::shared_ptr<RenderJob> Next(unsigned poolSize, bool create);
    // Drops the renders not wanted any more whose helper is done with them, with their files.
    void DropUnwanted();
    // Drops every render, with its files.
    void Clear();

private:
    WorkAhead Ahead() const;
    bool Started(const LookAhead::Document& document) const;

    std::vector<LookAhead::Document> expected_;
    std::set<std::uint64_t> takenKeys_;  // documents of the run the batch has taken already
    std::vector<std::shared_ptr<RenderJob>> jobs_;  // taken ones first, each group in order
};

}  // namespace pendrel::office
