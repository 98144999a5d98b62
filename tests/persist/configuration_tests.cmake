# The configuration file and where it lives.
zentrik_test(configuration_tests
  SOURCES persist/configuration_test.cpp persist/config_location_test.cpp
  LIBS zentrik_persist zentrik_ui)
