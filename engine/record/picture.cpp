// The picture's bookkeeping: columns in their ring, marks since the stage was
// last copied into the frame.
// SPDX-License-Identifier: MIT
#include "record/picture.h"

namespace ruvo {

void AddColumn(Picture& picture, std::uint32_t theme, bool platform)
{
    ++picture.columnsMade;
    SceneryColumn& column = picture.columns[ColumnSlot(picture.columnsMade)];
    column = SceneryColumn{};
    column.made = true;
    column.platform = platform;
    column.theme = static_cast<std::uint8_t>(theme);
}

void AddCloud(Picture& picture, std::int32_t y)
{
    SceneryColumn& column = picture.columns[ColumnSlot(picture.columnsMade)];
    if (column.clouds < kCloudsPerColumn)
        column.cloudY[column.clouds++] = static_cast<std::int16_t>(y);
}

void Compose(Picture& picture, std::int32_t scrollX)
{
    ++picture.composes;
    picture.composeX = scrollX;
    picture.lookAtCompose = picture.look;
    picture.marks.clear();
}

void AddMark(Picture& picture, const Mark& mark)
{
    const bool pause = mark.kind == MarkKind::Banner && mark.a == static_cast<std::uint8_t>(BannerText::Pause);
    if (pause && !picture.marks.empty()) {
        Mark& last = picture.marks.back();
        if (last.kind == MarkKind::Banner && last.a == mark.a) {
            ++last.repeat;
            return;
        }
    }
    picture.marks.push_back(mark);
}

void SetBossLook(Picture& picture, std::uint32_t theme, bool tinted)
{
    picture.look = {true, static_cast<std::uint8_t>(theme), tinted};
    Mark mark;
    mark.kind = MarkKind::BossLook;
    mark.a = picture.look.theme;
    mark.b = tinted ? 1u : 0u;
    AddMark(picture, mark);
}

const SceneryColumn* ColumnAt(const Picture& picture, std::size_t i)
{
    const std::uint64_t back = kStageColumns - 1 - i;
    if (i >= kStageColumns || back > picture.columnsMade)
        return nullptr;
    return &picture.columns[ColumnSlot(picture.columnsMade - back)];
}

} // namespace ruvo
