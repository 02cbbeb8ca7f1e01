#include "app/shutdown.h"

#include <algorithm>

#include "scenes/scene_list.h"
#include "core/log.h"

std::vector<const SceneRow*> shutdownOrder()
{
    std::vector<const SceneRow*> rows;
    for (int i = 0; i < kSceneRowCount; ++i)
        if (kSceneTable[i].releaseName)
            rows.push_back(&kSceneTable[i]);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const SceneRow* a, const SceneRow* b) { return a->releaseOrder < b->releaseOrder; });
    return rows;
}

void shutdownShow()
{
    logWrite("%s", kLogDemoEnds);
    for (const SceneRow* row : shutdownOrder())
        if (row->release)
            row->release();
}
