# Extra registrations of the resource editor's tests (see fuzz/ for the fuzz target).
