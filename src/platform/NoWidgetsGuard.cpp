// The core library must stay free of widgets so that the command-line tool and the tests
// can use every rule of the program without a screen. Qt6::Widgets defines QT_WIDGETS_LIB
// for whatever links it; if the core ever does, this stops the build.
#ifdef QT_WIDGETS_LIB
#error "tavrin_core must not link QtWidgets"
#endif
