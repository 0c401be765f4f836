// Plays one named course for the game's --map and the headless driver.
#include "shell/one_course.h"

#include <cstdio>

#include "shell/game.h"
#include "shell/map_file.h"
#include "shell/program.h"

namespace tumbleroo {

int PlayOneCourse(Game& game, const std::string& folder, const std::string& name, uint64_t seed,
                  const char* messagePrefix, int16_t stage, int16_t course) {
    try {
        PrepareGame(game, folder, seed);
        if (!OpenDisplayAndPictures(game)) {
            ShutDown(game);
            return kExitNoDisplay;
        }
        StageAndCourseFromName(name, game.run.SelectedStage, game.run.SelectedCourse);
        if (stage != 0) game.run.SelectedStage = stage;
        if (course != 0) game.run.SelectedCourse = course;
        if (!PlayNamedCourse(game, name)) {
            std::fprintf(stderr, "%smap %s is missing or not a valid map file\n", messagePrefix,
                         MapFilePath(game, name).c_str());
            return kExitMap;
        }
    } catch (const ProgramEnded&) {
        ShutDown(game);
    }
    return 0;
}

}  // namespace tumbleroo
