# Window tests, added as the windows are built.
