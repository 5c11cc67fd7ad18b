qv_add_test(tst_vbnumber app/tst_vbnumber.cpp LIBS qvcore)
qv_add_test(tst_storedsettings app/tst_storedsettings.cpp LIBS qvcore)
qv_add_test(tst_stringtable app/tst_stringtable.cpp LIBS qvcore)
qv_add_test(tst_localiseform app/tst_localiseform.cpp LIBS qvapp)
qv_add_test(tst_startup app/tst_startup.cpp LIBS qvapp)
qv_add_test(tst_aboutandhelp app/tst_aboutandhelp.cpp LIBS qvapp)
# Pictures of the dialogs for the documentation (run by hand under xvfb-run).
qv_add_pictures(dialog_screenshots app/dialog_screenshots.cpp qvapp)
