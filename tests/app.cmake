qv_add_test(app_suites app/tst_vbnumber.cpp app/tst_filetarget.cpp app/tst_storedsettings.cpp
    app/tst_stringtable.cpp app/tst_localiseform.cpp app/tst_startup.cpp app/tst_aboutandhelp.cpp
    app/tst_helpmanual.cpp app/tst_helppages.cpp LIBS qvapp)
# Pictures of the dialogs for the documentation (run by hand under xvfb-run).
qv_add_pictures(dialog_screenshots app/dialog_screenshots.cpp qvapp)
