#include "app/shutdown.h"

#include "app/show_context.h"
#include "core/log.h"
#include "platform/platform.h"
#include "scenes/scene_list.h"

std::vector<const SceneRow*> shutdownOrder()
{
    // The show's content goes first, then the tools it was drawn with; each
    // group in start-up order.
    std::vector<const SceneRow*> rows;
    for (bool tools : {false, true})
        for (const SceneRow& row : kSceneList)
            if (row.releaseStep && row.tool == tools)
                rows.push_back(&row);
    return rows;
}

void shutdownShow(ShowContext& show)
{
    logWrite("%s", kLogDemoEnds);
    for (const SceneRow* row : shutdownOrder())
        row->release();
    // What was made before start-up, then the log and the window.
    show.images.releaseQuadLists();
    show.sound.reset();
    closeLog();
    platform::closeWindow();
}
