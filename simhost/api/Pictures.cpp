// The view and its pictures: the special folders ('GSPF'), the zoom
// ('ZOOM', 'RZOM'), the rebuild ('RBLD') and the view saved as a JPEG
// picture ('SAVE').
#include "simhost/api/Requests.hpp"
#include "simhost/view/PlanPicture.hpp"
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace SimHost {

GSErrCode RequestHandlers::GSPF(const API_SpecFolderID* kind, IO::Location* folder)
{
    if (kind == nullptr || folder == nullptr)
        return APIERR_BADPARS;
    // Only the temporary folder is modelled; the host has no other kind.
    if (*kind != API_TempFolderID)
        return APIERR_BADPARS;
    const std::string path = host.view.temporaryFolder.Get();
    if (path.empty())
        return APIERR_GENERAL;
    *folder = IO::Location(path);
    return NoError;
}

GSErrCode RequestHandlers::ZOOM(const API_Box* box)
{
    if (box == nullptr)
        return APIERR_BADPARS;
    // A box the view cannot show: a value that is not a number, or the
    // maximum below the minimum.
    if (!std::isfinite(box->xMin) || !std::isfinite(box->yMin) || !std::isfinite(box->xMax) ||
        !std::isfinite(box->yMax) || box->xMax < box->xMin || box->yMax < box->yMin)
        return APIERR_BADPARS;
    host.view.zoom = *box;
    host.view.zooms.push_back(*box);
    ++host.view.zoomCount;
    char text[160];
    std::snprintf(text, sizeof text, "zoom to (%.6g, %.6g) - (%.6g, %.6g)", box->xMin, box->yMin, box->xMax, box->yMax);
    host.recorder.events.push_back(text);
    return NoError;
}

GSErrCode RequestHandlers::RZOM(const Int32* value)
{
    (void)value;
    host.view.zoom.reset();
    ++host.view.resetCount;
    return NoError;
}

GSErrCode RequestHandlers::RBLD(const bool* regenerate)
{
    (void)regenerate;
    ++host.view.rebuildCount;
    ++host.model.databases.rebuilds;
    return NoError;
}

GSErrCode RequestHandlers::SAVE(const API_FileSavePars* file, const API_SavePars_Picture* options)
{
    if (file == nullptr || file->file == nullptr || file->file->IsEmpty())
        return APIERR_BADPARS;
    // The view is saved only as a JPEG picture in true colour here.
    if (file->fileTypeID != APIFType_JpegFile || options == nullptr || options->colorDepth != APIColorDepth_TC24)
        return APIERR_BADPARS;
    const std::string path = file->file->ToPath();
    TemporaryFolder& temp = host.view.temporaryFolder;
    if (!temp.MayWrite(path)) {
        host.recorder.events.push_back("view not saved: " + temp.Shown(path) + " (the folder is read-only)");
        return APIERR_GENERAL;
    }
    const std::vector<PlanShape> shapes = PlanOutlines(host.model);
    const API_Box box = options->zoomedArea && host.view.zoom ? *host.view.zoom : DrawingExtent(shapes);
    const GX::Jpeg::Pixels pixels =
        DrawPlan(shapes, box, View::PixelWidth, View::PixelHeight, options->blackAndWhite);
    std::vector<std::uint8_t> bytes;
    if (!GX::Jpeg::Encode(pixels, false, 85, bytes))
        return APIERR_GENERAL;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size())) ||
            !out.flush()) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
            host.recorder.events.push_back("view not saved: " + temp.Shown(path) + " (cannot write the file)");
            return APIERR_GENERAL;
        }
    }
    SavedPicture saved;
    saved.path = path;
    saved.width = pixels.width;
    saved.height = pixels.height;
    for (const PlanShape& s : shapes)
        saved.section = saved.section || s.kind == PlanShape::Kind::Section;
    host.view.pictures.push_back(saved);
    host.recorder.events.push_back("view saved as a picture: " + temp.Shown(path) + " (" +
                                   std::to_string(saved.width) + " x " + std::to_string(saved.height) +
                                   (saved.section ? ", a section shown" : "") + ")");
    return NoError;
}

}  // namespace SimHost
