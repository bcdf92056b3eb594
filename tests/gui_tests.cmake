# Window tests, added as the windows are built.
blikon_gui_test(fblikon)
blikon_gui_test(module1)
blikon_gui_test(fuvod)
blikon_gui_test(qtsettingsstore)
blikon_gui_test(pictures)
blikon_gui_test(commondialog)
blikon_gui_test(fanimace)
