#include "CapturePipeline.h"
#include "Logging.h"

#include "CapturedImage.h"
#include "ClipHash.h"
#include "ContentDetector.h"

#include <QDebug>

namespace corvane {

namespace {

const QString tooLarge = QStringLiteral("Too large to save");

void prepareText(const ClipboardPayload &payload, ClipDatabase::NewClip &clip)
{
    const QByteArray utf8 = payload.text.toUtf8();
    if (payload.isFileReference) {
        clip.group = ClipGroup::file;
        clip.hash = ClipHash::of("file", utf8);
    } else {
        const Detection detection = ContentDetector::detect(payload.text);
        clip.group = detection.group;
        clip.detail = detection.detail;
        clip.hash = ClipHash::of("text", utf8);
    }
    clip.text = payload.text;
    clip.byteSize = utf8.size();
}

bool prepareImage(const ClipboardPayload &payload, ClipDatabase::NewClip &clip, CapturedImage::Failure *failure, QString *reason)
{
    std::optional<CapturedImage> image = !payload.imagePath.isEmpty()
        ? CapturedImage::fromFile(payload.imagePath, failure, reason)
        : !payload.imageData.isEmpty() ? CapturedImage::fromData(payload.imageData, failure, reason)
                                       : CapturedImage::fromImage(payload.image);
    if (!image)
        return false;
    clip.group = ClipGroup::image;
    if (!payload.detail.isEmpty())
        clip.detail = payload.detail;
    clip.image = std::move(image->png);
    clip.thumbnail = std::move(image->thumbnail);
    clip.imageSize = image->size;
    clip.byteSize = clip.image.size();
    clip.hash = image->hash;
    clip.dhash = image->dHash;
    return true;
}

} // namespace

std::optional<ClipDatabase::NewClip> CapturePipeline::prepare(const CaptureRequest &request, QString *skipReason)
{
    ClipDatabase::NewClip clip;
    if (request.payload.isImage()) {
        CapturedImage::Failure failure = CapturedImage::Failure::notAnImage;
        QString reason;
        if (!prepareImage(request.payload, clip, &failure, &reason)) {
            if (failure == CapturedImage::Failure::tooLarge) {
                if (skipReason)
                    *skipReason = reason;
                return std::nullopt;
            }
            if (request.payload.imagePath.isEmpty())
                return std::nullopt;
            // An image file that cannot be read as one is still a file the user copied.
            ClipboardPayload file;
            file.text = request.payload.imagePath;
            file.isFileReference = true;
            prepareText(file, clip);
        }
    } else {
        if (request.payload.text.isEmpty())
            return std::nullopt;
        prepareText(request.payload, clip);
    }
    clip.sourceName = request.sourceName;
    clip.sourceBundleID = request.sourceBundleID;
    if (!request.payload.sourceURL.isEmpty())
        clip.sourceURL = request.payload.sourceURL;
    clip.createdAt = request.date;
    return clip;
}

CaptureOutcome CapturePipeline::process(const CaptureRequest &request)
{
    CaptureOutcome outcome;
    outcome.sourceName = request.sourceName;
    QString skipReason;
    const std::optional<ClipDatabase::NewClip> clip = prepare(request, &skipReason);
    if (!clip && !skipReason.isEmpty()) {
        outcome.kind = CaptureOutcome::Kind::skipped;
        outcome.warning = skipReason;
        return outcome;
    }
    if (!clip) {
        qCWarning(logCapture, "Corvane: a copy held no readable content");
        return outcome;
    }
    // Pruning would delete a clip bigger than the whole limit right after storing it.
    if (clip->byteSize + clip->thumbnail.size() > request.storageLimit) {
        outcome.kind = CaptureOutcome::Kind::failed;
        outcome.warning = tooLarge;
        return outcome;
    }
    try {
        const ClipDatabase::InsertResult inserted = m_database.insert(*clip);
        outcome.kind = CaptureOutcome::Kind::stored;
        outcome.clipID = inserted.id;
        outcome.isNewRow = inserted.outcome == ClipDatabase::InsertResult::Outcome::inserted;
    } catch (const ClipDatabase::Error &error) {
        qCWarning(logDb).noquote() << "Corvane: saving a copy failed:" << error.message();
        outcome.kind = CaptureOutcome::Kind::failed;
        outcome.warning = QStringLiteral("Couldn’t save the copy: ") + error.message();
        return outcome;
    }
    try {
        outcome.prunedIDs = m_database.prune(request.storageLimit);
    } catch (const ClipDatabase::Error &error) {
        qCWarning(logDb).noquote() << "Corvane: pruning the history failed:" << error.message();
    }
    return outcome;
}

} // namespace corvane
