user_pref("network.proxy.no_proxies_on", "");
