# Extra registrations of the resource editor's tests.
