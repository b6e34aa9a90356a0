// A library folder whose sources have not been written yet still builds.
