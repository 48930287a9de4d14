// Netscape User Preferences
user_pref("browser.startup.homepage", "http://intranet/");
user_pref("network.proxy.http", "proxy");
user_pref("network.proxy.http_port", 8080);
user_pref("network.proxy.no_proxies_on", "intranet");
user_pref("network.proxy.type", 1);
