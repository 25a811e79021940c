// The conversion pass: every marked original becomes a reduced copy and a thumbnail.
#include "window/TRidFotoForm.h"

#include "window/ConversionRun.h"
#include "window/Preview.h"
#include "workspace/ConversionPass.h"
#include "workspace/ParallelConversion.h"

#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include <algorithm>
#include <vector>

using tess::workspace::ParallelConversion;
using tess::workspace::PhotoColumn;

void TRidFotoForm::Converti1Click() {
    tess::workspace::ConversionPass pass(m_fs, m_prompt, m_columns[Column::Originals].list,
                                         m_columns[Column::Reduced].list,
                                         m_columns[Column::Thumbnails].list);
    if (!pass.start(settingTexts()))
        return;
    tess::workspace::PreviewSlot& originalsPreview = *m_columns[Column::Originals].preview;
    originalsPreview.forgetFailure();
    ParallelConversion::Outcome outcome;
    {
        std::vector<tess::workspace::PreviewSlot*> previews;
        for (PhotoColumn& column : m_columns)
            previews.push_back(column.preview);
        tess::workspace::ConversionRun run(*this, *SpeedButton5, m_prompt, std::move(previews),
                                           pass.parallel(std::max(1, QThread::idealThreadCount())),
                                           m_run);
        outcome = run.exec([this, &pass](int rows) { ProgressBar1->setValue(pass.advance(rows)); });
    }
    switch (outcome.end) {
    case ParallelConversion::End::Failed:
        // The run ends on the row that failed, which is the current one: when its preview has
        // just shown the same failure, one box has said it.
        if (originalsPreview.hasShown(outcome.error))
            return;
        std::rethrow_exception(outcome.error);
    case ParallelConversion::End::Stopped:
        pass.rebuildOutputs();
        break;
    case ParallelConversion::End::Completed:
        pass.finish();
        break;
    }
}
