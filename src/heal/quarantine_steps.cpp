#include "heal/quarantine_steps.h"

namespace tollivar {

QuarantineResult QuarantineWithRecord(QuarantineFiles& files, const QuarantineRequest& request) {
    QuarantineResult result;
    const auto content = files.Hash(request.path);
    if (!content) {
        result.step = QuarantineStep::Unreadable;
        return result;
    }
    QuarantineRecord record;
    record.originalPath = request.originalText;
    record.threat = request.threat;
    record.utc = request.utc;
    record.local = request.local;
    record.size = content->size;
    record.sha256 = content->sha256;
    const auto text = FormatQuarantineRecord(record);
    if (!text) {
        result.step = QuarantineStep::RecordFailed;
        return result;
    }

    result.step = QuarantineStep::NoName;
    for (int attempt = 0; attempt < request.attempts; ++attempt) {
        const auto destination = request.destinationFor ? request.destinationFor(attempt) : std::nullopt;
        if (!destination) return result;
        const auto names = RecordPathsOf(*destination);
        if (!names) return result; // no record could sit beside it: the file is not taken
        if (files.Exists(*destination) || files.Exists(names->record) || files.Exists(names->pending))
            continue;

        if (!files.WriteNew(names->pending, *text)) {
            files.Delete(names->pending); // a half-written pending record
            result.step = QuarantineStep::RecordFailed;
            return result;
        }
        if (!files.RenameNew(names->pending, names->record)) {
            files.Delete(names->pending);
            if (files.Exists(names->record)) continue; // taken meanwhile by another record
            result.step = QuarantineStep::RecordFailed;
            return result;
        }

        const QuarantineFiles::Move move = files.MoveNew(request.path, *destination);
        if (move == QuarantineFiles::Move::NameTaken) {
            files.Delete(names->record);
            continue; // the file there is someone else's: never touched
        }
        const bool sourceStays = files.Exists(request.path);
        if (move == QuarantineFiles::Move::Done && !sourceStays) {
            result.step = QuarantineStep::Quarantined;
            result.quarantinedPath = *destination;
            result.record = std::move(record);
            return result;
        }
        if (move == QuarantineFiles::Move::Failed && !sourceStays) {
            // The source went although the move failed: if the copy is complete it is the only one,
            // and its record stays with it.
            if (files.Exists(*destination)) {
                result.step = QuarantineStep::Quarantined;
                result.quarantinedPath = *destination;
                result.record = std::move(record);
                return result;
            }
            files.Delete(names->record);
            result.step = QuarantineStep::MoveFailed;
            return result;
        }
        // The threat is still at its place: a copy in quarantine would only claim it was taken.
        files.Delete(*destination);
        files.Delete(names->record);
        result.step =
            move == QuarantineFiles::Move::Done ? QuarantineStep::SourceStayed : QuarantineStep::MoveFailed;
        return result;
    }
    return result;
}

} // namespace tollivar
